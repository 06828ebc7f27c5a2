// Creates a new, empty data file: vostrel-mkdb [--if-missing] [--version N] PATH
#include "core/DataFile.h"
#include "core/Session.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool ifMissing = false;
    long version = schema::kCurrentVersion;
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--if-missing"))
            ifMissing = true;
        else if (args[i] == QLatin1String("--version") && i + 1 < args.size())
            version = args[++i].toLong();
        else
            path = args[i];
    }
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: vostrel-mkdb [--if-missing] [--version N] PATH\n");
        return 2;
    }
    if (ifMissing && QFileInfo::exists(path)) return 0;
    try {
        CreateDataFile(path, version);
    } catch (const DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
