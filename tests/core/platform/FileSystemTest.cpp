// File services: atomic writes, the read-only attribute, copies and folders.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "TestSupport.h"
#include "platform/FileSystem.h"

using namespace varn;

TEST(FileSystem, AtomicWriteReplacesWholeAndKeepsMode) {
    test::TempDir tmp;
    std::string f = tmp.file("a.txt");
    ASSERT_TRUE(fsys::writeFileAtomic(f, "first version, long").ok());
    ::chmod(f.c_str(), 0640);
    ASSERT_TRUE(fsys::writeFileAtomic(f, "second").ok());
    EXPECT_EQ(test::readBytes(f), "second");
    struct stat st;
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    auto listing = test::runCommand("ls -A " + test::shellQuote(tmp.path()));
    EXPECT_EQ(listing.out, "a.txt\n");  // no temporary left behind
    EXPECT_FALSE(fsys::writeFileAtomic(tmp.file("missing/b.txt"), "x").ok());
}

TEST(FileSystem, ReadOnlyAttribute) {
    test::TempDir tmp;
    std::string f = tmp.file("r.txt");
    test::writeBytes(f, "x");
    EXPECT_FALSE(fsys::isReadOnly(f));
    ASSERT_TRUE(fsys::setReadOnly(f, true).ok());
    EXPECT_TRUE(fsys::isReadOnly(f));
    ASSERT_TRUE(fsys::resetAttributes(f).ok());
    EXPECT_FALSE(fsys::isReadOnly(f));
    EXPECT_FALSE(fsys::isReadOnly(tmp.file("none")));
}

TEST(FileSystem, CopyWithSmallBufferAndFolders) {
    test::TempDir tmp;
    std::string data(100000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31);
    test::writeBytes(tmp.file("src.bin"), data);
    ASSERT_TRUE(fsys::createFolders(tmp.file("x/y/z")).ok());
    ASSERT_TRUE(fsys::copyFile(tmp.file("src.bin"), tmp.file("x/y/z/dst.bin"), 10240).ok());
    EXPECT_EQ(test::readBytes(tmp.file("x/y/z/dst.bin")), data);
    auto missing = fsys::copyFile(tmp.file("none"), tmp.file("d"));
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.error().code, 0);
    EXPECT_FALSE(fsys::readFile(tmp.file("none")).ok());
    EXPECT_TRUE(fsys::removeFile(tmp.file("src.bin")).ok());
    EXPECT_FALSE(fsys::exists(tmp.file("src.bin")));
}
