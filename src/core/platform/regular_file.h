#pragma once
// Opening a file that a user or another file names. Such a path may be a folder, a FIFO, a
// device or endless: it is opened without blocking, must be a regular file, and is read up to a
// cap.
#include <cstddef>
#include <string>

namespace kibiki {

// NotFolder: a file stands where a folder on the path should be (found by the caller: the
// system reports it as a missing file).
enum class FileFault { None, Missing, Folder, NotRegular, TooLarge, Access, DiskFull, NotFolder, Other };

FileFault FaultOfErrno(int nErrno);

// The string id of the line that tells the user why, or 0 when none says more than the message.
int FileFaultReason(FileFault fault);

// open(2) with O_NONBLOCK, O_CLOEXEC and O_NOCTTY added, so that a FIFO without a writer cannot
// hang the caller; refuses anything but a regular file. The descriptor returned is blocking
// again. -1 with fault set on a refusal or an error.
int OpenRegularFile(const std::string& strPath, int nFlags, FileFault& fault, unsigned nMode = 0644);

// Reads from fd's offset to the end, at most nCap bytes. Over the cap: false with TooLarge,
// out holding the first nCap bytes; on a read error out holds what came before it.
bool ReadCapped(int fd, std::size_t nCap, std::string& out, FileFault& fault);

// The file that replacing strPath whole (a temporary file renamed over it) must replace: the end
// of a chain of symbolic links (a file kept with the user's dotfiles), so the links stay and
// their target changes, as editors do; strPath itself when it is no link, or a loop.
std::string ReplacedFile(const std::string& strPath);

// Asks the system to back a large buffer with huge pages where it gives them only on request:
// reading a file of tens of MB, or the records made from it, takes a page fault every 4 kB
// otherwise. Advice only; buffers under a few MB are left alone.
void AdviseHugePages(const void* p, std::size_t nBytes);

// OpenRegularFile for reading, then ReadCapped.
bool ReadRegularFile(const std::string& strPath, std::size_t nCap, std::string& out, FileFault& fault);

}  // namespace kibiki
