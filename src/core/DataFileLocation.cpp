#include "core/DataFileLocation.h"

#include "core/DataFile.h"
#include "core/Session.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kFileName = QStringLiteral("DBvost.mdb");
// Installing puts the desktop entry here, relative to the program; a build folder or a copy
// carried around has none.
const QString kInstalledEntry = QStringLiteral("../share/applications/org.vostrel.Vostrel.desktop");
} // namespace

QString ChooseDataFile(const DataFilePlaces& places) {
    if (!places.dataOption.isEmpty()) return QFileInfo(places.dataOption).absoluteFilePath();
    if (places.programDirWritable && !places.installed)
        return QDir(places.programDir).absoluteFilePath(kFileName);
    // A relative $XDG_DATA_HOME is to be ignored.
    const QString dataHome = QDir::isAbsolutePath(places.xdgDataHome)
                                 ? places.xdgDataHome
                                 : QDir(places.home).filePath(QStringLiteral(".local/share"));
    return QDir::cleanPath(QDir(dataHome).filePath(QStringLiteral("vostrel/") + kFileName));
}

QString ProgramFolder() {
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

DataFilePlaces FindDataFilePlaces(const QString& programDir, const QString& dataOption) {
    DataFilePlaces p;
    p.dataOption = dataOption;
    p.programDir = programDir;
    p.programDirWritable = QFileInfo(programDir).isWritable();
    p.installed = QFileInfo::exists(QDir(programDir).filePath(kInstalledEntry));
    p.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    p.home = QDir::homePath();
    return p;
}

void EnsureDataFile(const QString& path) {
    if (QFileInfo::exists(path)) return;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(folder)) {
        if (!QDir().mkpath(folder)) throw DbError(QStringLiteral("无法创建文件夹 %1").arg(folder));
        // Only the owner reads the ledger, not even the names of its files.
        QFile::setPermissions(folder,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    CreateDataFile(path);
}
