#include "platform/system/find_files.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/system/paths.hpp"
#include "platform/system/unique_fd.hpp"
#include "platform/system/wildcard.hpp"

namespace zorbel::system {

namespace {

// The names of one folder's files or subfolders, kept in one buffer (folded key, then the name
// itself) so that listing a large folder costs no allocation per entry.
class Listing {
public:
    // Appends the entry when its folded name passes the filter.
    template <class Filter>
    void add(std::string_view name, Filter&& keep) {
        size_t start = bytes_.size();
        appendFoldedCase(bytes_, name);
        size_t keyLength = bytes_.size() - start;
        if (!keep(std::string_view(bytes_).substr(start, keyLength))) {
            bytes_.resize(start);
            return;
        }
        bytes_ += name;
        entries_.push_back({start, keyLength, name.size()});
    }

    // The names sorted by folded key, ties by the bytes of the name.
    std::vector<std::string_view> sortedNames() const {
        std::vector<Entry> order = entries_;
        std::string_view all = bytes_;
        std::sort(order.begin(), order.end(), [all](const Entry& a, const Entry& b) {
            int byKey = all.substr(a.start, a.keyLength).compare(all.substr(b.start, b.keyLength));
            return byKey != 0 ? byKey < 0 : a.name(all) < b.name(all);
        });
        std::vector<std::string_view> names;
        names.reserve(order.size());
        for (const Entry& entry : order) names.push_back(entry.name(all));
        return names;
    }

private:
    struct Entry {
        size_t start, keyLength, nameLength;
        std::string_view name(std::string_view all) const { return all.substr(start + keyLength, nameLength); }
    };
    std::string bytes_;
    std::vector<Entry> entries_;
};

enum class Kind { File, Folder, Other };

Kind kindOf(const struct stat& info) {
    if (S_ISREG(info.st_mode)) return Kind::File;
    return S_ISDIR(info.st_mode) ? Kind::Folder : Kind::Other;
}

// The kind from the directory entry, with a stat only where the entry does not tell: unknown
// types and symbolic links (a link counts as the file it names, never as a folder).
Kind entryKind(int folderFd, const dirent& entry) {
    struct stat info{};
    switch (entry.d_type) {
        case DT_REG: return Kind::File;
        case DT_DIR: return Kind::Folder;
        case DT_LNK:
            if (::fstatat(folderFd, entry.d_name, &info, 0) != 0) return Kind::Other;
            return kindOf(info) == Kind::File ? Kind::File : Kind::Other;
        case DT_UNKNOWN:
            if (::fstatat(folderFd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0) return kindOf(info);
            return Kind::Other;
        default: return Kind::Other;
    }
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

class Search {
public:
    Search(std::string_view pattern, bool recurse, std::vector<std::string>& out)
        : pattern_(pattern), recurse_(recurse), out_(out) {}

    // prefix: the folder's path as it prefixes results ("" for the current folder, else ending in "/").
    void folder(const std::string& prefix, int depth) {
        Listing files, folders;
        if (!list(prefix, depth, files, folders)) return;
        for (std::string_view name : files.sortedNames()) out_.push_back(joined(prefix, name, ""));
        if (depth >= kMaxSearchDepth) return;
        for (std::string_view name : folders.sortedNames()) folder(joined(prefix, name, "/"), depth + 1);
    }

private:
    bool firstVisit(int fd) {
        struct stat info{};
        if (::fstat(fd, &info) != 0) return false;
        return visited_.emplace(info.st_dev, info.st_ino).second;
    }

    static std::string joined(const std::string& prefix, std::string_view name, std::string_view end) {
        std::string out;
        out.reserve(prefix.size() + name.size() + end.size());
        out += prefix;
        out += name;
        out += end;
        return out;
    }

    bool list(const std::string& prefix, int depth, Listing& files, Listing& folders) {
        // The folder the caller names may be a link; below it, links are never followed.
        int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | (depth > 0 ? O_NOFOLLOW : 0);
        UniqueFd fd(::open(prefix.empty() ? "." : prefix.c_str(), flags));
        if (!fd || !firstVisit(fd.get())) return false;
        DirStream dir(std::move(fd));
        if (!dir) return false;
        while (const dirent* entry = ::readdir(dir.get())) {
            if (isDotOrDotDot(entry->d_name)) continue;
            Kind kind = entryKind(dir.fd(), *entry);
            if (kind == Kind::File) {
                files.add(entry->d_name, [this](std::string_view key) { return pattern_.matchesFolded(key); });
            } else if (kind == Kind::Folder && recurse_) {
                folders.add(entry->d_name, [](std::string_view) { return true; });
            }
        }
        return true;
    }

    WildcardPattern pattern_;
    bool recurse_;
    std::vector<std::string>& out_;
    std::set<std::pair<dev_t, ino_t>> visited_;
};

std::string resultPrefix(const std::string& folder) {
    if (folder.empty()) return {};
    std::string trimmed = withoutTrailingSeparator(folder);
    return trimmed.empty() ? std::string("/") : trimmed + "/";
}

}  // namespace

std::vector<std::string> findFilePaths(const std::string& folder, std::string_view pattern, bool includeSubfolders) {
    std::vector<std::string> out;
    if (folder.find('\0') != std::string::npos) return out;
    Search(pattern, includeSubfolders, out).folder(resultPrefix(folder), 0);
    return out;
}

Ref<Collection> findFiles(const std::string& folder, std::string_view pattern, bool includeSubfolders) {
    Ref<Collection> result = makeCollection();
    for (std::string& path : findFilePaths(folder, pattern, includeSubfolders))
        result->items().add(Variant(std::move(path)));
    return result;
}

}  // namespace zorbel::system
