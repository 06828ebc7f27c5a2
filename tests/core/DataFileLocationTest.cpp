#include "core/DataFileLocation.h"

#include <QDir>
#include <gtest/gtest.h>

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
