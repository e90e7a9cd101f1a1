#include "platform/output_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace verrane::platform {

namespace {

std::string Quoted(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

TextFileError Refused(const std::filesystem::path& file, const std::string& why) {
    return TextFileError("Cannot save to " + Quoted(file) + ": " + why + ".");
}

QString QtName(const std::filesystem::path& p) { return QFile::decodeName(QByteArray(p.c_str())); }

// The file a save replaces: a link is followed to the file it leads to, so
// the link stays a link and the file behind it gets the new contents.
QString SaveTarget(const std::filesystem::path& file) {
    QFileInfo info(QtName(file));
    for (int hops = 0; info.isSymLink(); ++hops) {
        if (hops == 40) throw Refused(file, "its links lead round in a circle");
        info.setFile(info.symLinkTarget());
    }
    return info.absoluteFilePath();
}

struct Target {
    QString path;  // after the links
    bool exists = false;
    struct stat st {};
};

// Everything is decided from stat: the target is never opened.
Target CheckedTarget(const std::filesystem::path& file, const std::vector<std::filesystem::path>& inputs) {
    if (file.empty()) throw TextFileError("No file name was given.");
    const std::string name = file.string();
    const std::string last = file.filename().string();
    if (name.back() == '/' || last.empty() || last == "." || last == "..")
        throw Refused(file, "it names a folder, not a file");
    Target t;
    t.path = SaveTarget(file);
    const QByteArray native = QFile::encodeName(t.path);
    t.exists = ::stat(native.constData(), &t.st) == 0;
    if (!t.exists && errno != ENOENT) throw Refused(file, std::strerror(errno));
    if (t.exists) {
        if (!S_ISREG(t.st.st_mode)) throw Refused(file, "it is " + FileKind(t.st.st_mode));
        // No write permission for anyone is read-only, also for a user whom
        // the system would let write anyway.
        if ((t.st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) throw Refused(file, "the file is read-only");
        if (::access(native.constData(), W_OK) != 0) throw Refused(file, std::strerror(errno));
        for (const auto& input : inputs) {
            struct stat in {};
            if (::stat(input.c_str(), &in) == 0 && in.st_dev == t.st.st_dev && in.st_ino == t.st.st_ino)
                throw Refused(file, "it is the input file " + Quoted(input));
        }
    }
    return t;
}

// The file replaced keeps its owner and group. An ordinary user may not
// give a file away; his saved file is then his own, as any file he makes.
void KeepOwner(int fd, const struct stat* old) {
    if (old && ::fchown(fd, old->st_uid, old->st_gid) != 0) errno = 0;
}

// QSaveFile names its temporary file after the target plus seven
// characters; a name that leaves no room for them is saved through a
// temporary file of a short unique name in the same folder instead, given
// the permissions `mode`.
void SaveUnderShortName(const QString& target, mode_t mode, const struct stat* old, std::string_view data,
                        const std::filesystem::path& shown) {
    QTemporaryFile tmp(QFileInfo(target).absolutePath() + "/.verrane-XXXXXX");
    if (!tmp.open()) throw Refused(shown, tmp.errorString().toStdString());
    if (tmp.write(data.data(), static_cast<qint64>(data.size())) != static_cast<qint64>(data.size()) || !tmp.flush() ||
        ::fsync(tmp.handle()) != 0 || ::fchmod(tmp.handle(), mode) != 0)
        throw TextFileError("Saving " + Quoted(shown) + " failed: " + tmp.errorString().toStdString() + ".");
    KeepOwner(tmp.handle(), old);
    if (::rename(QFile::encodeName(tmp.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        throw TextFileError("Cannot replace " + Quoted(shown) + ": " + std::strerror(errno) + ".");
    tmp.setAutoRemove(false);
}

}  // namespace

std::string FileKind(unsigned mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a pipe";
    if (S_ISSOCK(mode)) return "a socket";
    return "a device";
}

void CheckOutputFile(const std::filesystem::path& file, const std::vector<std::filesystem::path>& inputs) {
    (void)CheckedTarget(file, inputs);
}

void WriteFileAtomically(const std::filesystem::path& file, std::string_view data,
                         const std::vector<std::filesystem::path>& inputs) {
    const Target t = CheckedTarget(file, inputs);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const mode_t mode = t.exists ? (t.st.st_mode & 07777) : (0666 & ~mask);
    const struct stat* old = t.exists ? &t.st : nullptr;
    if (QFileInfo(t.path).fileName().toLocal8Bit().size() + 7 > NAME_MAX)
        return SaveUnderShortName(t.path, mode, old, data, file);
    QSaveFile out(t.path);
    if (!out.open(QIODevice::WriteOnly)) throw Refused(file, out.errorString().toStdString());
    KeepOwner(out.handle(), old);
    // The explicit flush matters: commit() does not notice a buffer that
    // could not be written (a full disk) and would keep an empty file.
    if (out.write(data.data(), static_cast<qint64>(data.size())) != static_cast<qint64>(data.size()) || !out.flush() ||
        !out.commit())
        throw TextFileError("Saving " + Quoted(file) + " failed: " + out.errorString().toStdString() + ".");
}

void WriteFileAtomically(const std::filesystem::path& file, const std::function<bool(QIODevice&)>& produce,
                         const std::vector<std::filesystem::path>& inputs) {
    CheckOutputFile(file, inputs);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!produce(buffer)) throw TextFileError("Nothing was written to " + Quoted(file) + ": it could not be drawn.");
    buffer.close();
    WriteFileAtomically(file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), inputs);
}

std::filesystem::path WithExtension(const std::filesystem::path& name, std::string_view extension) {
    const std::string last = name.filename().string();
    if (last.empty() || last == "." || last == ".." || name.has_extension()) return name;
    // A device, a pipe or a folder of that name is what was meant (and is
    // refused), not a new file beside it.
    // So is a link, whether it leads to a file or not.
    struct stat st {};
    if (::lstat(name.c_str(), &st) == 0 && (S_ISLNK(st.st_mode) || !S_ISREG(st.st_mode))) return name;
    return name.string() + std::string(extension);
}

}  // namespace verrane::platform
