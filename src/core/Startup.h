#pragma once
// Start-up without windows: the data file, the options record and its schema upgrade.
// The login and the main window follow in the program's entry.
#include <QString>

class DataFileLock;
class Session;

namespace app {
// Where new versions are to be found; shown when the data file needs a newer program.
inline const QString kDownloadAddress = QStringLiteral("新版本随源代码发布在本项目代码仓库的 Releases 页面");
// Shown when the data file cannot be used at all, and when its options row is missing.
inline const QString kDataFileError = QStringLiteral("数据文件出现错误，程序不能继续运行!");
inline const QString kDataFileDamaged = QStringLiteral("数据文件遭到破坏，程序不能继续运行!");
// A second start on a data file that a running program has open.
inline const QString kDataFileInUse = QStringLiteral("数据文件正在被另一个Vostrel使用，程序不能继续运行!");
inline const QString kDataFolderNotWritable =
    QStringLiteral("数据文件所在的文件夹不能写入，程序不能继续运行!");
} // namespace app

// "您需要下载新版本！" with the download address in parentheses.
QString NewVersionMessage();

// Reads the options row (ID 3) into session.options column by column, brings a data file of
// version 2000 or 2001 up to 2002, and checks the version. A column that cannot be read or
// converted keeps its setting. When the options row is missing or the version is not the
// current one, the program stops: a message is shown and ProgramStop is thrown.
void LoadOptions(Session& session);

// LoadOptions for windows that run inside the event loop (after the settings window): when the
// program must stop, the event loop is ended with the stop's status instead of throwing through
// Qt. Returns false then.
bool ReloadOptions(Session& session);

// Opens the data file and loads its options, as every start does, with a window or without.
// Returns 0 when the session is ready; otherwise the message was shown and the program's exit
// status is returned (non-zero).
int StartSession(Session& session, const QString& dataFile);

// Takes the data file's lock for a run that writes it (the windows); when another run holds it
// or its folder cannot hold the lock file, shows why and returns the exit status (non-zero).
// Nothing else is done to the file then.
int LockDataFile(Session& session, DataFileLock& lock);
