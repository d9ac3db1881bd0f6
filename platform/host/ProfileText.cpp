// The profile-file engine; see ProfileText.h for the rules (wine's profile.c).
#include "platform/host/ProfileText.h"

#include <cstdint>
#include <cstring>

namespace platform::host::profile {
namespace {

// ---- Code page 1252 and Unicode text ----

// Unicode of the bytes 0x80..0x9F in code page 1252 (the rest is Latin-1).
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {  // lone surrogates too, so that UTF-16 survives a round trip
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

// Decodes one code point at text[i] and advances i; 0xFFFD for a bad sequence.
std::uint32_t NextCodePoint(const std::string& text, size_t& i) {
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char c = byte(i);
    if (c < 0x80) {
        ++i;
        return c;
    }
    int extra = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size()) {
        ++i;
        return 0xFFFD;
    }
    std::uint32_t cp = extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    for (int k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += extra + 1;
    return cp;
}

// UTF-8 bytes as MultiByteToWideChar(CP_UTF8) reads them in wine (its
// decode_utf8_char): a bad sequence becomes one U+FFFD after taking the
// continuation bytes that fitted; a sequence cut by the end takes the rest.
// The result is valid UTF-8 again.
std::string NormalizeUtf8(const std::string& bytes) {
    static const unsigned char kMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
    auto lengthOf = [](unsigned char c) -> unsigned {
        if (c >= 0xC2 && c <= 0xDF) return 1;
        if (c >= 0xE0 && c <= 0xEF) return 2;
        if (c >= 0xF0 && c <= 0xF4) return 3;
        return 0;
    };
    std::string out;
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        unsigned char c = static_cast<unsigned char>(bytes[i++]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        unsigned len = lengthOf(c);
        std::uint32_t res = c & kMask[len];
        size_t end = i + len;
        bool ok = false;
        if (end > n) {
            i = n;
        } else {
            auto cont = [&](size_t k, std::uint32_t& bits) {
                bits = static_cast<unsigned char>(bytes[k]) ^ 0x80;
                return bits < 0x40;
            };
            std::uint32_t bits = 0;
            // The fall-through chain of wine's switch (len).
            do {
                if (len >= 3) {
                    if (!cont(end - 3, bits)) break;
                    res = (res << 6) | bits;
                    ++i;
                    if (res < 0x10) break;
                }
                if (len >= 2) {
                    if (!cont(end - 2, bits)) break;
                    res = (res << 6) | bits;
                    if (res >= (0x110000 >> 6)) break;
                    ++i;
                    if (res < 0x20) break;
                    if (res >= (0xD800 >> 6) && res <= (0xDFFF >> 6)) break;
                }
                if (len >= 1) {
                    if (!cont(end - 1, bits)) break;
                    res = (res << 6) | bits;
                    ++i;
                    if (res < 0x80) break;
                    ok = true;
                }
            } while (false);
        }
        AppendUtf8(out, ok ? res : 0xFFFD);
    }
    return out;
}

std::string Cp1252ToUtf8(const std::string& ansi) {
    std::string out;
    for (char ch : ansi) {
        unsigned char c = static_cast<unsigned char>(ch);
        AppendUtf8(out, c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c);
    }
    return out;
}

struct WideToAnsi {
    std::uint16_t wide;
    std::uint8_t ansi;
};

constexpr WideToAnsi kCp1252FromWide[] = {
#include "platform/host/Cp1252Table.inc"
};

char WideToCp1252(std::uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    if (cp >= 0x80 && cp < 0xA0) {  // the C1 controls that keep their place
        return cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D ? static_cast<char>(cp) : '?';
    }
    size_t lo = 0, hi = sizeof(kCp1252FromWide) / sizeof(kCp1252FromWide[0]);
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (kCp1252FromWide[mid].wide < cp) lo = mid + 1;
        else hi = mid;
    }
    if (lo < sizeof(kCp1252FromWide) / sizeof(kCp1252FromWide[0]) && kCp1252FromWide[lo].wide == cp)
        return static_cast<char>(kCp1252FromWide[lo].ansi);
    return '?';
}

std::string Utf8ToCp1252(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        std::uint32_t cp = NextCodePoint(text, i);
        if (cp >= 0x10000) {
            out += "??";  // a surrogate pair: two UTF-16 units, neither in the code page
            continue;
        }
        out += WideToCp1252(cp);
    }
    return out;
}

std::string Utf16ToUtf8(const std::string& bytes, size_t start, bool bigEndian) {
    std::string out;
    // An odd last byte makes a unit of its own (wine reads one byte past the
    // data there; we take that byte as 0).
    size_t units = (bytes.size() - start + 1) / 2;
    auto at = [&](size_t k) -> unsigned char { return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0; };
    auto unit = [&](size_t k) -> std::uint32_t {
        unsigned char a = at(start + 2 * k);
        unsigned char b = at(start + 2 * k + 1);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (size_t k = 0; k < units; ++k) {
        std::uint32_t u = unit(k);
        if (u >= 0xD800 && u < 0xDC00 && k + 1 < units) {
            std::uint32_t low = unit(k + 1);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++k;
                continue;
            }
        }
        AppendUtf8(out, u);
    }
    return out;
}

std::string Utf8ToUtf16(const std::string& text, bool bigEndian) {
    std::string out;
    auto put = [&](std::uint32_t u) {
        char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        if (bigEndian) {
            out += hi;
            out += lo;
        } else {
            out += lo;
            out += hi;
        }
    };
    for (size_t i = 0; i < text.size();) {
        std::uint32_t cp = NextCodePoint(text, i);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

// ---- Strings as kernel32 sees them ----

// A C string ends at its first NUL.
std::string CString(const char* text, size_t length) {
    const void* nul = std::memchr(text, '\0', length);
    return std::string(text, nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length);
}

std::string CString(const std::string& s) { return CString(s.data(), s.size()); }

std::string TrimLeft(const std::string& s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return s.substr(b);
}

std::string Trim(const std::string& s) {
    std::string t = TrimLeft(s);
    size_t e = t.size();
    while (e > 0 && IsBlank(t[e - 1])) --e;
    return t.substr(0, e);
}

// PROFILE_CopyEntry: one pair of surrounding quotes (both ' or both ") removed.
std::string StripQuotes(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '\'' || value[0] == '"') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

bool IsBlank(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u == 0x20 || (u >= 0x09 && u <= 0x0D) || u == 0x1A;
}

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

// ---- Parse and save ----

Document Document::Parse(const std::string& bytes) {
    Document doc;
    if (bytes.empty()) return doc;  // PROFILE_Load: an empty file gives no sections

    std::string text;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        doc.encoding_ = Encoding::Utf8;
        text = NormalizeUtf8(bytes.substr(3));
    } else if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
        doc.encoding_ = Encoding::Utf16LE;
        text = Utf16ToUtf8(bytes, 2, false);
    } else if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF') {
        doc.encoding_ = Encoding::Utf16BE;
        text = Utf16ToUtf8(bytes, 2, true);
    } else {
        text = bytes;
    }

    doc.sections_.push_back(Section{});  // the nameless section before any header
    Section* current = &doc.sections_.back();
    bool hasPrevKey = false;
    bool prevKeyNameEmpty = false;

    const char* pos = text.data();
    const char* const textEnd = pos + text.size();
    while (pos < textEnd) {
        // A line ends at CR or LF; a run of them ends one line.
        const char* lineStart = pos;
        while (pos < textEnd && *pos != '\n' && *pos != '\r') ++pos;
        const char* lineEnd = pos;
        while (pos < textEnd && (*pos == '\n' || *pos == '\r')) ++pos;

        while (lineStart < lineEnd && IsBlank(*lineStart)) ++lineStart;
        while (lineEnd > lineStart && IsBlank(lineEnd[-1])) --lineEnd;
        if (lineStart >= lineEnd) continue;

        if (*lineStart == '[') {
            const char* close = lineEnd;
            while (close > lineStart && close[-1] != ']') --close;
            if (close > lineStart) {  // a header: the name runs to the last "]"
                std::string name = Trim(std::string(lineStart + 1, close - 1));
                doc.sections_.push_back(Section{CString(name), {}});
                current = &doc.sections_.back();
                hasPrevKey = false;
                continue;
            }
            // No "]": an ordinary key line.
        }

        const char* line = lineStart;
        const size_t lineLength = static_cast<size_t>(lineEnd - lineStart);
        const char* eq = static_cast<const char*>(std::memchr(line, '=', lineLength));
        size_t nameLength = lineLength;
        std::optional<std::string> value;
        if (eq) {
            nameLength = static_cast<size_t>(eq - line);
            while (nameLength > 0 && IsBlank(line[nameLength - 1])) --nameLength;
            const char* v = eq + 1;
            while (v < line + lineLength && IsBlank(*v)) ++v;
            value = CString(v, static_cast<size_t>(line + lineLength - v));
        }
        if (nameLength > 0 || !hasPrevKey || !prevKeyNameEmpty) {
            current->keys.push_back(Key{CString(line, nameLength), std::move(value)});
            hasPrevKey = true;
            prevKeyNameEmpty = current->keys.back().name.empty();
        }
    }
    return doc;
}

std::string Document::Serialize() const {
    size_t size = 0;
    for (const Section& section : sections_) {
        size += section.name.size() + 4;
        for (const Key& key : section.keys) size += key.name.size() + (key.value ? key.value->size() + 1 : 0) + 2;
    }
    std::string text;
    text.reserve(size);
    for (const Section& section : sections_) {
        if (!section.name.empty()) {
            text += '[';
            text += section.name;
            text += "]\r\n";
        }
        for (const Key& key : section.keys) {
            text += key.name;
            if (key.value) {
                text += '=';
                text += *key.value;
            }
            text += "\r\n";
        }
    }
    switch (encoding_) {
        case Encoding::Ansi: return text;
        case Encoding::Utf8: return "\xEF\xBB\xBF" + text;
        case Encoding::Utf16LE: return std::string("\xFF\xFE", 2) + Utf8ToUtf16(text, false);
        case Encoding::Utf16BE: return std::string("\xFE\xFF", 2) + Utf8ToUtf16(text, true);
    }
    return text;
}

std::string Document::In(const std::string& ansi) const {
    std::string s = CString(ansi);
    return encoding_ == Encoding::Ansi ? s : Cp1252ToUtf8(s);
}

std::string Document::Out(const std::string& text) const {
    return encoding_ == Encoding::Ansi ? text : Utf8ToCp1252(text);
}

// ---- Finding ----

// The first section of that name (ASCII case ignored). PROFILE_Find trims the
// name it is given first; GetSection, DeleteKey and DeleteSection do not.
Section* Document::FindSection(const std::string& name) {
    for (Section& s : sections_)
        if (EqualIgnoringAsciiCase(s.name, name)) return &s;
    return nullptr;
}

const Section* Document::FindSection(const std::string& name) const {
    return const_cast<Document*>(this)->FindSection(name);
}

// PROFILE_Find with create: names are matched trimmed; a new key or section
// keeps the name as given minus its leading blanks.
Key* Document::FindOrCreateKey(const std::string& section, const std::string& key, bool createAlways) {
    std::string sectionName = TrimLeft(section), keyName = TrimLeft(key);
    Section* found = FindSection(Trim(section));
    if (found) {
        if (!createAlways) {
            std::string wanted = Trim(key);
            for (Key& k : found->keys)
                if (EqualIgnoringAsciiCase(k.name, wanted)) return &k;
        }
        found->keys.push_back(Key{keyName, std::nullopt});
        return &found->keys.back();
    }
    sections_.push_back(Section{sectionName, {Key{keyName, std::nullopt}}});
    return &sections_.back().keys.back();
}

// ---- Reading ----

std::string Document::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    // GetPrivateProfileStringW strips the default's trailing spaces (only
    // spaces, and never its first character).
    std::string def = CString(defaultValue);
    size_t keep = def.size();
    while (keep > 1 && def[keep - 1] == ' ') --keep;
    def.resize(keep);

    const Section* s = FindSection(Trim(In(section)));
    if (s) {
        std::string wanted = Trim(In(key));
        for (const Key& k : s->keys) {
            if (!EqualIgnoringAsciiCase(k.name, wanted)) continue;
            if (k.value) return Out(StripQuotes(*k.value));
            break;
        }
    }
    return StripQuotes(def);
}

std::vector<std::string> Document::Enumerate(const std::string& section, bool withValues) const {
    std::vector<std::string> out;
    const Section* s = FindSection(In(section));
    if (!s) return out;
    for (const Key& k : s->keys) {
        if (k.name.empty() && !k.value) continue;      // empty lines
        if (!k.name.empty() && k.name[0] == ';') continue;  // comments
        if (!withValues && !k.value) continue;           // lines without "="
        std::string entry = k.name;
        if (withValues && k.value) entry += "=" + *k.value;
        if (entry.empty()) break;  // ends the double-NUL list
        out.push_back(Out(entry));
    }
    return out;
}

std::vector<std::string> Document::Keys(const std::string& section) const { return Enumerate(section, false); }

std::vector<std::string> Document::SectionLines(const std::string& section) const {
    return Enumerate(section, true);
}

std::vector<std::string> Document::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& s : sections_)
        if (!s.name.empty()) names.push_back(Out(s.name));
    return names;
}

// ---- Writing ----

bool Document::SetString(const std::string& section, const std::string& key, const std::string& value,
                         bool createAlways) {
    Key* k = FindOrCreateKey(section, key, createAlways);
    std::string v = TrimLeft(value);
    if (k->value && *k->value == v) return false;  // no change needed
    k->value = v;
    return true;
}

bool Document::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    return SetString(In(section), In(key), In(value), false);
}

bool Document::DeleteKey(const std::string& section, const std::string& key) {
    std::string sectionName = In(section), keyName = In(key);
    for (Section& s : sections_) {
        if (!EqualIgnoringAsciiCase(s.name, sectionName)) continue;
        for (auto it = s.keys.begin(); it != s.keys.end(); ++it) {
            if (EqualIgnoringAsciiCase(it->name, keyName)) {
                s.keys.erase(it);
                return true;
            }
        }
    }
    return false;
}

bool Document::EraseSection(const std::string& section) {
    std::string name = In(section);
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        if (EqualIgnoringAsciiCase(it->name, name)) {
            sections_.erase(it);
            return true;
        }
    }
    return false;
}

bool Document::WriteSection(const std::string& section, const std::vector<std::string>& lines) {
    std::string name = In(section);
    bool changed = false;
    for (Section& s : sections_) {  // PROFILE_DeleteAllKeys: every matching section
        if (EqualIgnoringAsciiCase(s.name, name) && !s.keys.empty()) {
            s.keys.clear();
            changed = true;
        }
    }
    // The lines travel as one double-NUL list, built as the Win32 service
    // builds it: a line ends at a NUL, and empty lines are left out (they
    // would end the list).
    for (const std::string& rawLine : lines) {
        std::string line = In(rawLine);
        if (line.empty()) continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;  // kernel32 ignores lines without "="
        SetString(name, line.substr(0, eq), line.substr(eq + 1), true);
        changed = true;
    }
    return changed;
}

}  // namespace platform::host::profile
