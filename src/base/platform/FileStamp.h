// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What tells one state of a file from another without reading it: identity,
// size, times and mode. A parsed copy of a file is still good while the
// file's stamp is unchanged.

#include <string>
#include <sys/stat.h>
#include <time.h>

namespace dvx {

struct FileStamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};
    mode_t mode = 0;

    bool operator==(const FileStamp& o) const {
        return exists == o.exists && dev == o.dev && ino == o.ino && size == o.size &&
               mtime.tv_sec == o.mtime.tv_sec && mtime.tv_nsec == o.mtime.tv_nsec &&
               ctime.tv_sec == o.ctime.tv_sec && ctime.tv_nsec == o.ctime.tv_nsec && mode == o.mode;
    }
};

// The stamp of the file at path (links followed); exists is false when there
// is nothing to stat.
inline FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return stamp;
    stamp.exists = true;
    stamp.dev = st.st_dev;
    stamp.ino = st.st_ino;
    stamp.size = st.st_size;
    stamp.mtime = st.st_mtim;
    stamp.ctime = st.st_ctim;
    stamp.mode = st.st_mode;
    return stamp;
}

// Whether a copy parsed now may be trusted for as long as the stamp stays
// the same. File times advance in coarse steps, so a file changed twice
// within one step, to the same size, keeps its stamp; a file whose last
// change is that recent is read again each time until it has settled.
inline bool StampSettled(const FileStamp& stamp) {
    if (!stamp.exists) return false;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    auto age = [&](const timespec& t) {
        return static_cast<double>(now.tv_sec - t.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec - t.tv_nsec);
    };
    constexpr double kSettleSeconds = 0.1;
    return age(stamp.mtime) > kSettleSeconds && age(stamp.ctime) > kSettleSeconds;
}

} // namespace dvx
