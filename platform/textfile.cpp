#include "platform/textfile.h"

#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace verrane::platform {

namespace {

// Code points of bytes 0x80..0x9F in Windows-1252 (0 where the byte is unused).
constexpr char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char ToCp1252(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp) return static_cast<char>(0x80 + i);
    // The five unused bytes read as themselves, so they also write back.
    if (cp >= 0x80 && cp < 0xA0 && kHigh[cp - 0x80] == 0) return static_cast<char>(cp);
    return '?';
}

std::string Quoted(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

// The bytes of a regular file of at most kMaxTextFileBytes. The type is
// checked before the file is opened, and the file is opened without
// blocking and checked again, so a pipe or a device never stalls the read.
std::string ReadProjectBytes(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        throw FileAccessError(Quoted(file) + " cannot be opened: " + std::strerror(errno) + ".");
    if (!S_ISREG(st.st_mode)) throw FileAccessError(Quoted(file) + " is " + FileKind(st.st_mode) + ", not a project file.");
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw FileAccessError(Quoted(file) + " cannot be opened: " + std::strerror(errno) + ".");
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        throw FileAccessError(Quoted(file) + " is " + FileKind(st.st_mode) + ", not a project file.");
    auto tooLarge = [&](std::uintmax_t size) {
        return TextFileError(Quoted(file) + " is too large to be a project file (" + std::to_string(size) + " bytes).");
    };
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    if (size > kMaxTextFileBytes) throw tooLarge(size);
    std::string data;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            throw FileAccessError(Quoted(file) + " cannot be read: " + std::strerror(errno) + ".");
        }
        data.append(buf, static_cast<size_t>(n));
        if (data.size() > kMaxTextFileBytes) throw tooLarge(data.size());
    }
    return data;
}

}  // namespace

std::string OneLine(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '\r' || ch == '\n') {
            if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += ' ';
        } else if (ch != '\0') {
            out += ch;
        }
    }
    return out;
}

std::string Utf8ToCp1252(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6 && i + 1 < s.size()) {
            cp = ((c & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
            len = 2;
        } else if ((c >> 4) == 0xE && i + 2 < s.size()) {
            cp = ((c & 0x0F) << 12) | ((static_cast<unsigned char>(s[i + 1]) & 0x3F) << 6) |
                 (static_cast<unsigned char>(s[i + 2]) & 0x3F);
            len = 3;
        } else if ((c >> 3) == 0x1E && i + 3 < s.size()) {
            cp = ((c & 0x07) << 18) | ((static_cast<unsigned char>(s[i + 1]) & 0x3F) << 12) |
                 ((static_cast<unsigned char>(s[i + 2]) & 0x3F) << 6) | (static_cast<unsigned char>(s[i + 3]) & 0x3F);
            len = 4;
        } else {
            cp = '?';  // stray byte: not valid UTF-8
        }
        out += ToCp1252(cp);
        i += len;
    }
    return out;
}

std::string Cp1252ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        char32_t cp = c;
        if (c >= 0x80 && c < 0xA0) cp = kHigh[c - 0x80] ? kHigh[c - 0x80] : c;
        AppendUtf8(out, cp);
    }
    return out;
}

std::vector<std::string> ReadTextLines(const std::filesystem::path& file) {
    const std::string data = ReadProjectBytes(file);
    if (data.find('\0') != std::string::npos) throw TextFileError("\"" + file.string() + "\" is not a text file.");
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < data.size()) {
        size_t nl = data.find('\n', start);
        size_t end = nl == std::string::npos ? data.size() : nl;
        size_t lineEnd = end;
        if (lineEnd > start && data[lineEnd - 1] == '\r') --lineEnd;
        lines.push_back(Cp1252ToUtf8(data.substr(start, lineEnd - start)));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return lines;
}

void WriteTextLinesAtomically(const std::filesystem::path& file, const std::vector<std::string>& lines) {
    std::string data;
    for (const auto& l : lines) {
        data += Utf8ToCp1252(l);
        data += "\r\n";
    }
    WriteFileAtomically(file, data);
}

}  // namespace verrane::platform
