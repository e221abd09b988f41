// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: The Pellory developers

// The floors of the window benchmark: what any program has to do at least to rename a
// folder of camera files or to list it, written with the bare system calls and nothing
// else, so that Pellory's steps can be held against them in the same run. Also makes the
// folders the benchmark works on. Prints the time of the loop alone, in milliseconds.
//
//   pellory_bench_floor make DIR COUNT          DSC00001.JPG ... with rising write times
//   pellory_bench_floor rename DIR COUNT FROM TO  FROM00001.JPG -> TO00001.JPG ...
//   pellory_bench_floor scan DIR                readdir + fstatat of every entry
//   pellory_bench_floor read DIR                readdir + the first 64 KB of every file

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Camera numbering: five digits up to the most a list holds, six past it.
int digitsFor(long count)
{
    return count > 99999 ? 6 : 5;
}

std::string cameraName(const std::string& prefix, long number, int digits)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*ld", digits, number);
    return prefix + buffer + ".JPG";
}

int make(const char* dir, long count)
{
    if (::mkdir(dir, 0755) != 0 && errno != EEXIST)
        return std::perror(dir), 1;
    const int digits = digitsFor(count);
    const auto start = Clock::now();
    for (long k = 1; k <= count; ++k) {
        const std::string path = std::string(dir) + "/" + cameraName("DSC", k, digits);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0)
            return std::perror(path.c_str()), 1;
        // One second apart, in name order, as a camera writes them.
        const timespec times[2] = {{1600000000 + k, 0}, {1600000000 + k, 0}};
        const bool timed = ::futimens(fd, times) == 0;
        ::close(fd);
        if (!timed)
            return std::perror(path.c_str()), 1;
    }
    std::printf("%.3f %ld\n", msSince(start), count);
    return 0;
}

int renameAll(const char* dir, long count, const std::string& from, const std::string& to)
{
    const int dirFd = ::open(dir, O_RDONLY | O_DIRECTORY);
    if (dirFd < 0)
        return std::perror(dir), 1;
    const int digits = digitsFor(count);
    std::vector<std::pair<std::string, std::string>> names;
    names.reserve(count);
    for (long k = 1; k <= count; ++k)
        names.emplace_back(cameraName(from, k, digits), cameraName(to, k, digits));
    const auto start = Clock::now();
    for (const auto& [oldName, newName] : names) {
        if (::renameat2(dirFd, oldName.c_str(), dirFd, newName.c_str(), RENAME_NOREPLACE) != 0) {
            std::fprintf(stderr, "%s: %s\n", oldName.c_str(), std::strerror(errno));
            ::close(dirFd);
            return 1;
        }
    }
    const double ms = msSince(start);
    ::close(dirFd);
    std::printf("%.3f %ld\n", ms, count);
    return 0;
}

int scan(const char* dir)
{
    const auto start = Clock::now();
    DIR* stream = ::opendir(dir);
    if (!stream)
        return std::perror(dir), 1;
    long files = 0;
    while (const dirent* entry = ::readdir(stream)) {
        struct stat st;
        if (::fstatat(::dirfd(stream), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            ++files;
    }
    ::closedir(stream);
    std::printf("%.3f %ld\n", msSince(start), files);
    return 0;
}

// The least a reader of capture times does: open every file of the folder and read its
// head, where a camera JPEG keeps all of its metadata.
int readHeads(const char* dir)
{
    constexpr size_t headBytes = 64 * 1024;
    std::vector<char> buffer(headBytes);
    const auto start = Clock::now();
    DIR* stream = ::opendir(dir);
    if (!stream)
        return std::perror(dir), 1;
    long files = 0;
    while (const dirent* entry = ::readdir(stream)) {
        if (entry->d_type == DT_DIR)
            continue;
        const int fd = ::openat(::dirfd(stream), entry->d_name, O_RDONLY | O_NOFOLLOW);
        if (fd < 0)
            continue;
        size_t got = 0;
        ssize_t part = 0;
        while (got < headBytes && (part = ::read(fd, buffer.data() + got, headBytes - got)) > 0)
            got += size_t(part);
        ::close(fd);
        files += part >= 0;
    }
    ::closedir(stream);
    std::printf("%.3f %ld\n", msSince(start), files);
    return 0;
}

int usage()
{
    std::fprintf(stderr, "usage: pellory_bench_floor make DIR COUNT | rename DIR COUNT FROM TO"
                         " | scan DIR | read DIR\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return usage();
    const std::string mode = argv[1];
    if (mode == "make" && argc == 4)
        return make(argv[2], std::atol(argv[3]));
    if (mode == "rename" && argc == 6)
        return renameAll(argv[2], std::atol(argv[3]), argv[4], argv[5]);
    if (mode == "scan" && argc == 3)
        return scan(argv[2]);
    if (mode == "read" && argc == 3)
        return readHeads(argv[2]);
    return usage();
}
