#include "report/ZuvanFatigueOutputFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "driver/CExceptionZuvanFatigue.h"

namespace {

// Closes a descriptor on every path out of a scope.
class Descriptor {
   public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { Reset(-1); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return m_fd; }
    int Release() {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }
    void Reset(int fd) {
        if (m_fd >= 0) ::close(m_fd);
        m_fd = fd;
    }

   private:
    int m_fd;
};

// The name's components, "." and empty ones (a doubled or final "/") left out
// except the last, which names the file and is kept as it stands.
std::vector<std::string> Components(const std::string& name) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    for (;;) {
        const std::size_t slash = name.find('/', at);
        const std::string part = name.substr(at, slash == std::string::npos ? slash : slash - at);
        if (slash == std::string::npos) {
            parts.push_back(part);
            return parts;
        }
        if (!part.empty() && part != ".") parts.push_back(part);
        at = slash + 1;
    }
}

// Writes every byte, resuming short and interrupted writes; false on failure.
bool WriteAll(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t done = ::write(fd, bytes, size);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) return false;
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
    return true;
}

bool Lock(int fd, int operation) {
    for (;;) {
        if (::flock(fd, operation) == 0) return true;
        if (errno != EINTR) return false;
    }
}

}  // namespace

bool ZuvanFatigueOutputFile::HasControlByte(const std::string& name) {
    for (const char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

void ZuvanFatigueOutputFile::CheckName(const std::string& name, const char* tag) {
    // No name, or a name of blanks only (no *FICHIER_SORTIE card): no file.
    if (name.find_first_not_of(' ') == std::string::npos) Raise(tag, kCodeFichierResultats);
    // A deck may come from anywhere: its name never reaches a file outside the
    // output directory, and it carries no byte that a terminal would act on.
    if (name[0] == '/' || HasControlByte(name)) Raise(tag, kCodeFichierResultats);
    const std::vector<std::string> parts = Components(name);
    for (const std::string& part : parts) {
        if (part == ".." || part.size() > kNameMax) Raise(tag, kCodeFichierResultats);
    }
    if (parts.back().empty() || parts.back() == ".") Raise(tag, kCodeFichierResultats);
}

ZuvanFatigueOutputFile::ZuvanFatigueOutputFile(const std::string& outputDirectory,
                                               const std::string& name, const char* tag) {
    CheckName(name, tag);
    const std::vector<std::string> parts = Components(name);
    m_leaf = parts.back();

    // The output directory itself is followed wherever it leads.
    const std::string top = outputDirectory.empty() ? std::string(".") : outputDirectory;
    struct stat st;
    if (!outputDirectory.empty() && ::stat(top.c_str(), &st) != 0) {
        Raise(tag, kCodeRepertoireSortie);
    }
    Descriptor folder(::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) Raise(tag, kCodeFichierResultats);
    // Below it, each folder is opened from the one before, never through a link.
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const int next = ::openat(folder.Get(), parts[i].c_str(),
                                  O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0) Raise(tag, kCodeFichierResultats);
        folder.Reset(next);
    }
    // What already stands at the name must be a regular file; an absent file
    // needs a folder it can be created in.
    if (::fstatat(folder.Get(), m_leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (!S_ISREG(st.st_mode)) Raise(tag, kCodeFichierResultats);
        if (::faccessat(folder.Get(), m_leaf.c_str(), W_OK, AT_EACCESS) != 0) {
            Raise(tag, kCodeFichierResultats);
        }
    } else if (errno != ENOENT || ::faccessat(folder.Get(), ".", W_OK | X_OK, AT_EACCESS) != 0) {
        Raise(tag, kCodeFichierResultats);
    }
    m_folder = folder.Release();
}

ZuvanFatigueOutputFile::~ZuvanFatigueOutputFile() {
    if (m_folder >= 0) ::close(m_folder);
}

void ZuvanFatigueOutputFile::Append(const std::string& bytes, const char* tag) {
    if (bytes.empty()) return;
    // O_NONBLOCK: something other than a regular file put at the name since
    // (a named pipe) must not hold the run; it is refused below.
    Descriptor file(::openat(
        m_folder, m_leaf.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    struct stat st;
    if (file.Get() < 0 || ::fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        Raise(tag, kCodeFichierResultats);
    }
    const int flags = ::fcntl(file.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0 ||
        !Lock(file.Get(), LOCK_EX)) {
        Raise(tag, kCodeFichierResultats);
    }
    // Under the lock no other run appends: the length now is where this
    // append starts, and where a failed one is cut back to.
    if (::fstat(file.Get(), &st) != 0) Raise(tag, kCodeFichierResultats);
    const off_t before = st.st_size;
    bool written = WriteAll(file.Get(), bytes.data(), bytes.size());
    if (!written) {
        while (::ftruncate(file.Get(), before) != 0 && errno == EINTR) {
        }
    }
    // Closing the descriptor would release the lock too; released first, the
    // next run waits no longer than the write.
    Lock(file.Get(), LOCK_UN);
    const int fd = file.Release();
    if (::close(fd) != 0 && written) written = errno == EINTR;
    if (!written) Raise(tag, kCodeFichierResultats);
}
