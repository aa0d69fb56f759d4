#include "tests/files/file_test_support.h"

#include "field/mine_field.h"
#include "platform/stdio/stdio_file.h"
#include "tests/files/syscall_wraps.h"

#include <climits>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

void FileTest::SetUp()
{
    GameTest::SetUp();
    ClearWraps();
    previousUmask_ = umask(022);
}

void FileTest::TearDown()
{
    umask(previousUmask_);
    ClearWraps();
    // Planted folders may have been left without write permission.
    std::filesystem::permissions(workDir_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
    GameTest::TearDown();
}

void PlantHere(Plant kind, const std::string& name)
{
    switch (kind) {
    case Plant::Fifo:
        ASSERT_EQ(mkfifo(name.c_str(), 0644), 0) << name;
        break;
    case Plant::Folder:
        ASSERT_EQ(mkdir(name.c_str(), 0755), 0) << name;
        break;
    case Plant::Socket: {
        int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, name.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << name;
        close(fd);
        break;
    }
    case Plant::Regular:
        WriteFileBytes(name, "planted");
        break;
    }
}

void LinkHere(const std::string& name, const std::string& target)
{
    ASSERT_EQ(symlink(target.c_str(), name.c_str()), 0) << name;
}

std::string WhatIsHere(const std::string& name)
{
    struct stat info {};
    if (lstat(name.c_str(), &info) != 0) {
        return "missing";
    }
    if (S_ISLNK(info.st_mode)) {
        char target[PATH_MAX] = {};
        ssize_t length = readlink(name.c_str(), target, sizeof target - 1);
        return "link to " + std::string(target, length > 0 ? static_cast<size_t>(length) : 0);
    }
    if (S_ISFIFO(info.st_mode)) {
        return "fifo";
    }
    if (S_ISDIR(info.st_mode)) {
        return "folder";
    }
    if (S_ISSOCK(info.st_mode)) {
        return "socket";
    }
    return S_ISREG(info.st_mode) ? "file" : "other";
}

std::string ReadText(const std::string& name)
{
    std::vector<uint8_t> bytes = ReadFileBytes(name);
    return {bytes.begin(), bytes.end()};
}

mode_t ModeOf(const std::string& name)
{
    struct stat info {};
    return stat(name.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

std::string BoardText()
{
    std::string text = std::to_string(fieldSize) + "\r\n";
    for (int32_t x = 0; x < fieldSize; ++x) {
        for (int32_t y = 0; y < fieldSize; ++y) {
            text += static_cast<char>('0' + cellValue[x][y]);
            text += static_cast<char>('0' + cellState[x][y]);
        }
    }
    return text;
}

std::string OtherSaveText()
{
    std::string text = "11\r\n";
    for (int i = 0; i < 11 * 11; ++i) {
        text += "92";
    }
    return text;
}
