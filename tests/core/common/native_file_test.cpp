#include "core/common/native_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "tests/core/common/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace inkquot {
namespace {

using namespace testing_support;

// Deep folders and Chinese names: Windows needs the long form of a path past
// 260 characters and UTF-16 names; both must reach the same files as on
// Linux.
TEST(NativeFile, LongPathsAndChineseNamesWork) {
    TempFolder dir;
    std::filesystem::path folder = dir.path();
    for (int i = 0; i < 8; ++i) {
        folder /= pathFromUtf8("价格方案文件夹层级" + std::to_string(i) + std::string(20, 'x'));
    }
    std::filesystem::create_directories(folder);
    const auto file = folder / pathFromUtf8("系统默认ji.dat");
    ASSERT_GT(file.native().size(), 260u);

    ASSERT_TRUE(writeFileAtomically(file, std::string("a\r\nb\n\x1a", 6)));
    std::string back;
    ASSERT_TRUE(readWholeFile(file, back));
    EXPECT_EQ(back, std::string("a\r\nb\n\x1a", 6));  // binary: no line ends changed
    ASSERT_TRUE(appendToFile(file, 6, "\n"));
    std::string prefix;
    ASSERT_TRUE(readFilePrefix(file, 3, prefix, false));
    EXPECT_EQ(prefix, "a\r\n");
    ASSERT_TRUE(copyFileAtomically(file, folder / pathFromUtf8("副本.dat")));
    EXPECT_EQ(slurp(folder / pathFromUtf8("副本.dat")), std::string("a\r\nb\n\x1a\n", 7));
    ASSERT_TRUE(removeFile(file));
    EXPECT_FALSE(native::pathExists(file));
}

#ifdef _WIN32
// Holds a file open without sharing it, as a virus scanner or an open
// spreadsheet does, for `heldFor`.
class Holder {
public:
    Holder(const std::filesystem::path& file, std::chrono::milliseconds heldFor) {
        handle_ = ::CreateFileW(file.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        release_ = std::thread([this, heldFor] {
            std::this_thread::sleep_for(heldFor);
            ::CloseHandle(handle_);
        });
    }
    ~Holder() { release_.join(); }
    bool holding() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
    std::thread release_;
};

TEST(NativeFile, AFileHeldBrieflyIsWaitedFor) {
    TempFolder dir;
    const auto file = dir / "fjiben.dat";
    spit(file, "old");
    {
        Holder held(file, std::chrono::milliseconds(300));
        ASSERT_TRUE(held.holding());
        EXPECT_TRUE(writeFileAtomically(file, "new"));
    }
    EXPECT_EQ(slurp(file), "new");
    {
        Holder held(file, std::chrono::milliseconds(300));
        std::string bytes;
        EXPECT_TRUE(readWholeFile(file, bytes));
        EXPECT_EQ(bytes, "new");
    }
}

TEST(NativeFile, AFileHeldForLongIsNamedWithTheReason) {
    TempFolder dir;
    const auto file = dir / "frecord.dat";
    spit(file, "old");
    Holder held(file, std::chrono::milliseconds(5000));
    const IoStatus written = writeFileAtomically(file, "new");
    EXPECT_EQ(written.error, IoError::WriteFailed);
    EXPECT_NE(written.message.find("frecord.dat"), std::string::npos) << written.message;
    EXPECT_NE(written.message.find("文件被其他程序占用"), std::string::npos) << written.message;
    std::string bytes;
    const IoStatus read = readWholeFile(file, bytes);
    EXPECT_EQ(read.error, IoError::ReadFailed);
    EXPECT_NE(read.message.find("文件被其他程序占用"), std::string::npos) << read.message;
}
#endif

}  // namespace
}  // namespace inkquot
