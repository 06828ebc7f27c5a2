#include "core/DataFileLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

// An environment variable set for one test, and put back after it.
class EnvSetting {
public:
    EnvSetting(const char* name, const QByteArray& value)
        : name(name), old(qgetenv(name)), had(qEnvironmentVariableIsSet(name)) {
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    ~EnvSetting() { had ? qputenv(name, old) : qunsetenv(name); }

private:
    const char* name;
    QByteArray old;
    bool had;
};

} // namespace

TEST(DataFileLocationTest, BesideTheProgramUnlessInstalledOrReadOnly_DataOptionFirst) {
    DataFilePlaces p;
    p.programDir = "/opt/vostrel";
    p.programDirWritable = true;
    p.xdgDataHome = "/data/u";
    p.home = "/home/u";
    EXPECT_EQ(ChooseDataFile(p), "/opt/vostrel/DBvost.mdb");
    p.programDirWritable = false;
    EXPECT_EQ(ChooseDataFile(p), "/data/u/vostrel/DBvost.mdb");
    // Installed and run by someone who may write there (root in /usr/bin): still the user's folder.
    p.programDirWritable = true;
    p.installed = true;
    EXPECT_EQ(ChooseDataFile(p), "/data/u/vostrel/DBvost.mdb");
    p.xdgDataHome.clear();
    EXPECT_EQ(ChooseDataFile(p), "/home/u/.local/share/vostrel/DBvost.mdb");
    p.xdgDataHome = "relative/data";
    EXPECT_EQ(ChooseDataFile(p), "/home/u/.local/share/vostrel/DBvost.mdb");
    p.dataOption = "/tmp/shop2.mdb";
    EXPECT_EQ(ChooseDataFile(p), "/tmp/shop2.mdb");
    p.dataOption = "shop3.mdb";
    EXPECT_EQ(ChooseDataFile(p), QDir::current().absoluteFilePath("shop3.mdb"));
}

TEST(DataFileLocationTest, InstalledProgramMakesAnOwnerOnlyFileInTheUsersDataFolder) {
    QTemporaryDir tree;
    const QString prefix = tree.path();
    ASSERT_TRUE(QDir(prefix).mkpath("usr/bin") && QDir(prefix).mkpath("usr/share/applications") &&
                QDir(prefix).mkpath("portable") && QDir(prefix).mkpath("home"));
    QFile entry(prefix + "/usr/share/applications/org.vostrel.Vostrel.desktop");
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.close();
    EnvSetting home("HOME", QFile::encodeName(prefix + "/home"));
    EnvSetting xdg("XDG_DATA_HOME", QByteArray());

    EXPECT_EQ(ChooseDataFile(FindDataFilePlaces(prefix + "/portable", {})), prefix + "/portable/DBvost.mdb");
    const QString file = ChooseDataFile(FindDataFilePlaces(prefix + "/usr/bin", {}));
    ASSERT_EQ(file, prefix + "/home/.local/share/vostrel/DBvost.mdb");
    EnsureDataFile(file);
    EnsureDataFile(file); // there now: left alone
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(prefix + "/home/.local/share/vostrel").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}
