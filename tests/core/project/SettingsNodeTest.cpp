// The settings tree: binary encoding and its pieces, the profile layout of
// nodes and child lists, and the key-list buffer limit.
#include <gtest/gtest.h>

#include "project/SettingsNode.h"

using namespace varn;

TEST(SettingsNode, BinaryLowNibbleFirst) {
    EXPECT_EQ(SettingsNode::encodeBinary({0x00, 0x1F, 0xA5, 0xFF}), "AAPBFKPP");
    EXPECT_EQ(SettingsNode::decodeBinary("AAPBFKPP"), (std::vector<std::uint8_t>{0x00, 0x1F, 0xA5, 0xFF}));
    for (const char* bad : {"A", "ABC", "AQ", "a", "A@"}) EXPECT_FALSE(SettingsNode::decodeBinary(bad)) << bad;
}

TEST(SettingsNode, LongBinarySplitsIntoPiecesOf250) {
    for (std::size_t bytes : {125u, 126u, 250u, 251u, 400u}) {
        std::vector<std::uint8_t> data(bytes);
        for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<std::uint8_t>(i * 7);
        SettingsNode n("N");
        n.setString("Before", "x");
        n.setBinary("Blob", data);
        std::size_t chars = bytes * 2;
        if (chars <= 250) {
            EXPECT_TRUE(n.has("Blob"));
            EXPECT_FALSE(n.has("Blob_BinCount"));
        } else {
            std::size_t pieces = (chars + 249) / 250;
            EXPECT_EQ(n.getInt("Blob_BinCount", 0), static_cast<int>(pieces));
            EXPECT_EQ(n.getString("Blob_BinVal0").size(), 250u);
            EXPECT_EQ(n.getString("Blob_BinVal" + std::to_string(pieces - 1)).size(), chars - (pieces - 1) * 250);
        }
        EXPECT_EQ(n.getBinary("Blob"), data) << bytes;
        // Setting a short value again removes the pieces.
        n.setBinary("Blob", {1});
        EXPECT_FALSE(n.has("Blob_BinCount"));
        EXPECT_FALSE(n.has("Blob_BinVal0"));
        EXPECT_EQ(n.keys().front().first, "Before");
    }
}

TEST(SettingsNode, BrokenPiecesReadAsMissing) {
    SettingsNode n("N");
    n.setString("B_BinCount", "3");
    n.setString("B_BinVal0", "AB");
    EXPECT_FALSE(n.getBinary("B"));
    n.setString("B_BinCount", "2000000000");
    EXPECT_FALSE(n.getBinary("B"));
}

TEST(SettingsNode, SaveLayoutAndLoadBack) {
    SettingsNode root("Root");
    root.setString("Name", "value");
    root.setBool("Flag", true);
    SettingsNode& a = root.addChild("A");
    a.setInt("Count", -3);
    a.addChild("Deep").setString("K", "v");
    root.addChild("B");

    ProfileFile file;
    file.set("Other", "Keep", "me");
    file.set("Root", "Stale", "gone");
    root.save(file);
    EXPECT_EQ(file.serialize(),
              "[Other]\r\nKeep=me\r\n"
              "[Root]\r\nName=value\r\nFlag=True\r\nptn_Child1=A\r\nptn_Child2=B\r\n"
              "[Root.A]\r\nCount=-3\r\nptn_Child1=Deep\r\n"
              "[Root.A.Deep]\r\nK=v\r\n");

    auto back = SettingsNode::load(file, "root");
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->getBool("flag", false));
    ASSERT_EQ(back->children().size(), 2u);
    EXPECT_EQ(back->child("a")->getInt("Count", 0), -3);
    EXPECT_EQ(back->child("A")->child("Deep")->getString("K"), "v");
    EXPECT_TRUE(back->child("B")->keys().empty());
    EXPECT_FALSE(SettingsNode::load(file, "Missing"));
}

TEST(SettingsNode, BooleansReadTrueOnlyForTrue) {
    SettingsNode n("N");
    struct Case {
        const char* text;
        bool value;
    } cases[] = {{"True", true}, {"TRUE", true}, {"true", true}, {"1", false}, {"yes", false}, {"", false}};
    for (const auto& c : cases) {
        n.setString("B", c.text);
        EXPECT_EQ(n.getBool("B", !c.value), c.value) << c.text;
    }
    EXPECT_TRUE(n.getBool("Missing", true));
}

TEST(SettingsNode, KeyListIsReadWholeBeyondAnyBuffer) {
    ProfileFile file;
    file.set("Root", "ptn_Child1", "Big");
    // 1000 keys of 10 characters + NUL: 11000 bytes, more than a fixed 8 KB list holds.
    for (int i = 0; i < 1000; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "Key%07d", i);
        file.set("Root.Big", key, std::to_string(i));
    }
    auto names = file.keyNames("Root.Big");
    ASSERT_EQ(names.size(), 1000u);
    EXPECT_EQ(names[999], "Key0000999");
    auto root = SettingsNode::load(file, "Root");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->child("Big")->keys().size(), 1000u);
}
