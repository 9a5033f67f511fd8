#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "text/string_ids.h"

namespace kibiki {

FileFault FaultOfErrno(int nErrno) {
    switch (nErrno) {
        case 0: return FileFault::None;
        case ENOENT: case ENOTDIR: return FileFault::Missing;
        case EISDIR: return FileFault::Folder;
        case ENXIO: case ENODEV: return FileFault::NotRegular;
        case EFBIG: case ENOSPC: case EDQUOT: return FileFault::DiskFull;
        case EACCES: case EPERM: case EROFS: return FileFault::Access;
        default: return FileFault::Other;
    }
}

int FileFaultReason(FileFault fault) {
    switch (fault) {
        case FileFault::Missing: return IDS_REASON_MISSING;
        case FileFault::Folder: return IDS_REASON_IS_FOLDER;
        case FileFault::NotRegular: return IDS_REASON_NOT_REGULAR;
        case FileFault::TooLarge: return IDS_REASON_TOO_LARGE;
        case FileFault::Access: return IDS_REASON_ACCESS;
        case FileFault::DiskFull: return IDS_REASON_DISK_FULL;
        case FileFault::NotFolder: return IDS_REASON_NOT_FOLDER;
        default: return 0;
    }
}

int OpenRegularFile(const std::string& strPath, int nFlags, FileFault& fault, unsigned nMode) {
    int fd;
    do {
        fd = ::open(strPath.c_str(), nFlags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, static_cast<mode_t>(nMode));
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        fault = FaultOfErrno(errno);
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        fault = FaultOfErrno(errno);
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        fault = S_ISDIR(st.st_mode) ? FileFault::Folder : FileFault::NotRegular;
        ::close(fd);
        return -1;
    }
    const int fl = ::fcntl(fd, F_GETFL);
    if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0) {
        fault = FaultOfErrno(errno);
        ::close(fd);
        return -1;
    }
    fault = FileFault::None;
    return fd;
}

std::string ReplacedFile(const std::string& strPath) {
    std::string path = strPath;
    for (int nHops = 0; nHops < 40; ++nHops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        char buf[4096];
        const ssize_t n = ::readlink(path.c_str(), buf, sizeof buf);
        if (n <= 0 || static_cast<std::size_t>(n) >= sizeof buf) return strPath;
        std::string target(buf, static_cast<std::size_t>(n));
        if (target[0] != '/') target.insert(0, path.substr(0, path.rfind('/') + 1));
        path = std::move(target);
    }
    return strPath;
}

void AdviseHugePages(const void* p, std::size_t nBytes) {
    constexpr std::uintptr_t kHuge = 2u << 20;
    if (nBytes < 4 * kHuge) return;
    const std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(p) + kHuge - 1) & ~(kHuge - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(p) + nBytes) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

bool ReadCapped(int fd, std::size_t nCap, std::string& out, FileFault& fault) {
    out.clear();
    struct stat st;
    if (::fstat(fd, &st) == 0 && st.st_size > 0) {
        out.reserve(static_cast<std::size_t>(st.st_size) < nCap ? static_cast<std::size_t>(st.st_size) : nCap);
        AdviseHugePages(out.data(), out.capacity());
    }
    char buf[65536];
    for (;;) {
        // One byte past the cap tells a file of exactly nCap bytes from a longer one.
        const std::size_t want = nCap - out.size() < sizeof buf ? nCap - out.size() + 1 : sizeof buf;
        const ssize_t n = ::read(fd, buf, want);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            fault = FaultOfErrno(errno);
            return false;
        }
        const std::size_t got = static_cast<std::size_t>(n);
        if (out.size() + got > nCap) {
            out.append(buf, nCap - out.size());
            fault = FileFault::TooLarge;
            return false;
        }
        out.append(buf, got);
    }
    fault = FileFault::None;
    return true;
}

bool ReadRegularFile(const std::string& strPath, std::size_t nCap, std::string& out, FileFault& fault) {
    out.clear();
    const int fd = OpenRegularFile(strPath, O_RDONLY, fault);
    if (fd < 0) return false;
    const bool ok = ReadCapped(fd, nCap, out, fault);
    ::close(fd);
    return ok;
}

}  // namespace kibiki
