#pragma once
// Where the data file lives. A build folder or a portable copy keeps it beside the program, as
// it always has; an installed program keeps it in the user's data folder, where the desktop
// keeps data and where the user may write.
#include <QString>

// What the choice depends on, read from the program's folder and the environment.
struct DataFilePlaces {
    QString dataOption; // the file named by --data; empty when none was named
    QString programDir; // the folder of the executable
    bool programDirWritable = false;
    bool installed = false; // the program runs from an installed tree (<prefix>/bin beside <prefix>/share)
    QString xdgDataHome;    // $XDG_DATA_HOME; empty when unset
    QString home;           // $HOME
};

// The file named by --data; else "DBvost.mdb" beside the program when its folder is writable
// and not an installed tree; else $XDG_DATA_HOME/vostrel/DBvost.mdb, with ~/.local/share for
// $XDG_DATA_HOME when that is unset or not an absolute path. Always an absolute path.
QString ChooseDataFile(const DataFilePlaces& places);

// The folder of the running program, known before any application object exists.
QString ProgramFolder();

// The places as they are for a program in programDir.
DataFilePlaces FindDataFilePlaces(const QString& programDir, const QString& dataOption);

// A fresh data file at path when none is there, in a folder made for it (owner-only) when
// that is missing. An existing file is left alone. Throws DbError when it cannot be made.
void EnsureDataFile(const QString& path);
