// Profile files and the settings store built on them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestSupport.h"
#include "platform/ProfileFile.h"
#include "platform/SettingsStore.h"

using namespace varn;

TEST(ProfileFile, LookupsIgnoreCaseAndValuesAreTrimmedAndUnquoted) {
    auto p = ProfileFile::parse("[Sec]\nKey = spaced value \r\nQ=\"quoted\"\nS='single'\nHalf=\"open\n; note\nnoequals\n[sec]\nKey=later\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->getString("SEC", "key"), "spaced value");
    EXPECT_EQ(p->getString("Sec", "Q"), "quoted");
    EXPECT_EQ(p->getString("Sec", "S"), "single");
    EXPECT_EQ(p->getString("Sec", "Half"), "\"open");
    EXPECT_EQ(p->getString("Sec", "Missing", "def"), "def");
    EXPECT_EQ(p->keyNames("sec"), (std::vector<std::string>{"Key", "Q", "S", "Half"}));
    EXPECT_EQ(p->sections().size(), 1u);
}

TEST(ProfileFile, IntegersReadLikeAtoi) {
    auto p = ProfileFile::parse("[S]\na=42\nb= -7x\nc=x\nd=99999999999\ne=-99999999999\n");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->getInt("S", "a", 0), 42);
    EXPECT_EQ(p->getInt("S", "b", 0), -7);
    EXPECT_EQ(p->getInt("S", "c", 5), 0);
    EXPECT_EQ(p->getInt("S", "d", 0), 2147483647);
    EXPECT_EQ(p->getInt("S", "e", 0), -2147483647 - 1);
    EXPECT_EQ(p->getInt("S", "none", 5), 5);
}

TEST(ProfileFile, WritesKeepUnknownSectionsAndUseCrLf) {
    auto p = ProfileFile::parse("[A]\r\nx=1\r\n; comment\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(p);
    p->set("a", "X", "3");
    p->set("C", "z", "4");
    p->removeSection("b");
    p->removeKey("C", "nothing");
    EXPECT_EQ(p->serialize(), "[A]\r\nx=3\r\n; comment\r\n[C]\r\nz=4\r\n");
}

TEST(ProfileFile, StrictParsingRefusesNonProfiles) {
    EXPECT_FALSE(ProfileFile::parse(std::string("[A]\n\0x", 5), true));
    EXPECT_FALSE(ProfileFile::parse("garbage line\n[A]\n", true));
    EXPECT_TRUE(ProfileFile::parse("; comment\n\n[A]\nk=v\n", true));
    EXPECT_TRUE(ProfileFile::parse("garbage line\n[A]\n", false));
}

TEST(SettingsStore, XdgLocationsAndRoundTrip) {
    test::TempDir tmp;
    ::setenv("XDG_CONFIG_HOME", tmp.file("home").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (tmp.file("m1") + ":" + tmp.file("m2")).c_str(), 1);
    EXPECT_EQ(SettingsStore::userFilePath(), tmp.file("home/Quillfen/VARNide43.ini"));
    EXPECT_EQ(SettingsStore::machineFilePaths(),
              (std::vector<std::string>{tmp.file("m1/Quillfen/VARNide43.ini"), tmp.file("m2/Quillfen/VARNide43.ini")}));
    test::writeBytes(tmp.file("m2/Quillfen/VARNide43.ini"), "[InstallInfo]\nInstallPath=/opt/varn\n");
    EXPECT_EQ(SettingsStore::openMachine().getString("InstallInfo", "InstallPath"), "/opt/varn");

    SettingsStore s = SettingsStore::openUser();
    s.setInt("Settings", "GridX", -12);
    s.setString("Editor\\VARN Source Files", "Face", "Courier New");
    s.setBinary("Options", "PageMargin", {0xD0, 0x02, 0x00, 0xFF});
    ASSERT_TRUE(s.save().ok());
    SettingsStore back = SettingsStore::openUser();
    EXPECT_EQ(back.getInt("settings", "gridx", 0), -12);
    EXPECT_EQ(back.getString("Editor\\VARN Source Files", "Face"), "Courier New");
    EXPECT_EQ(back.getBinary("Options", "PageMargin"), (std::vector<std::uint8_t>{0xD0, 0x02, 0x00, 0xFF}));
    EXPECT_NE(test::readBytes(SettingsStore::userFilePath()).find("PageMargin=D00200FF\n"), std::string::npos);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CONFIG_DIRS");
}

TEST(SettingsStore, UnreadableFileReadsEmptyAndIsKeptUntilSaved) {
    test::TempDir tmp;
    std::string path = tmp.file("VARNide43.ini");
    std::string junk("\x7f" "ELF\0\0binary", 12);
    test::writeBytes(path, junk);
    SettingsStore s = SettingsStore::open(path);
    EXPECT_TRUE(s.wasUnreadable());
    EXPECT_EQ(s.getInt("Settings", "FormSizeX", 320), 320);
    EXPECT_EQ(test::readBytes(path), junk);
    s.setInt("Settings", "FormSizeX", 200);
    ASSERT_TRUE(s.save().ok());
    EXPECT_EQ(SettingsStore::open(path).getInt("Settings", "FormSizeX", 0), 200);
}
