#include "platform/ini_document.h"

#include <algorithm>

namespace tavlo::platform {

namespace {

constexpr unsigned kCr = 0x0D;
constexpr unsigned kLf = 0x0A;
constexpr std::string_view kCrLf = "\r\n";

bool IsDoubleByteCodePage(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950;
}

bool IsLeadByte(unsigned char byte, unsigned codePage)
{
    if (codePage == 932)
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    if (IsDoubleByteCodePage(codePage))
        return byte >= 0x81 && byte <= 0xFE;
    return false;
}

unsigned char FoldAscii(unsigned char byte)
{
    return (byte >= 'a' && byte <= 'z') ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

bool NamesEqual(std::string_view a, std::string_view b, unsigned codePage)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(ca, codePage) && i + 1 < a.size()) {
            // A double-byte character: its trail byte may look like an ASCII
            // letter but is no letter.
            if (ca != cb || a[i + 1] != b[i + 1])
                return false;
            ++i;
            continue;
        }
        if (FoldAscii(ca) != FoldAscii(cb))
            return false;
    }
    return true;
}

// Code page 1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kWestern80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf16(std::u16string& out, char32_t code)
{
    if (code >= 0x10000) {
        code -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (code >> 10));
        out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
        out += static_cast<char16_t>(code);
    }
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            code = lead & 0x1F;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            code = lead & 0x0F;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            code = lead & 0x07;
            least = 0x10000;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        valid = valid && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        AppendUtf16(out, code);
        i += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

// ANSI text to UTF-16. Without tables for the double-byte code pages, their
// non-ASCII characters become "?", as characters a code page lacks do.
std::u16string AnsiToUtf16(std::string_view text, unsigned codePage)
{
    if (codePage == kCodePageUtf8)
        return Utf8ToUtf16(text);
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x80 && IsDoubleByteCodePage(codePage)) {
            if (IsLeadByte(byte, codePage) && i + 1 < text.size())
                ++i;
            out += u'?';
        } else if (byte >= 0x80 && byte < 0xA0 && codePage == kCodePageWestern) {
            out += kWestern80[byte - 0x80];
        } else {
            // ASCII, and the bytes a single-byte code page maps to themselves.
            out += static_cast<char16_t>(byte);
        }
    }
    return out;
}

std::string Utf16ToAnsi(std::u16string_view text, unsigned codePage)
{
    if (codePage == kCodePageUtf8)
        return Utf16ToUtf8(text);
    std::string out;
    out.reserve(text.size());
    for (const char16_t unit : text) {
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            continue;
        }
        char byte = '?';
        if (codePage == kCodePageWestern) {
            const auto* found = std::find(std::begin(kWestern80), std::end(kWestern80), unit);
            if (found != std::end(kWestern80))
                byte = static_cast<char>(0x80 + (found - std::begin(kWestern80)));
            else if (unit >= 0xA0 && unit <= 0xFF)
                byte = static_cast<char>(unit);
        } else if (!IsDoubleByteCodePage(codePage) && unit <= 0xFF) {
            byte = static_cast<char>(unit);
        }
        out += byte;
    }
    return out;
}

}  // namespace

IniDocument::IniDocument(std::string bytes, unsigned codePage) : m_codePage(codePage)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF
        && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        m_unit = 2;
        m_textBegin = 2;
    }
    SetBytes(std::move(bytes));
}

void IniDocument::SetBytes(std::string bytes)
{
    m_bytes = std::move(bytes);
    m_textEnd = m_textBegin + (m_bytes.size() - m_textBegin) / m_unit * m_unit;
}

unsigned IniDocument::UnitAt(std::size_t offset) const
{
    const auto low = static_cast<unsigned char>(m_bytes[offset]);
    if (m_unit == 1)
        return low;
    return low | (static_cast<unsigned>(static_cast<unsigned char>(m_bytes[offset + 1])) << 8);
}

bool IniDocument::IsSpace(unsigned unit) const
{
    return unit == ' ' || unit == '\t' || unit == kCr || unit == kLf || unit == '\v' || unit == '\f' || unit == 0x1A;
}

std::size_t IniDocument::SkipSpaces(std::size_t from, std::size_t to) const
{
    while (from < to && IsSpace(UnitAt(from)))
        from += m_unit;
    return from;
}

std::size_t IniDocument::TrimEnd(std::size_t from, std::size_t to) const
{
    while (to > from && IsSpace(UnitAt(to - m_unit)))
        to -= m_unit;
    return to;
}

std::size_t IniDocument::FindUnit(std::size_t from, std::size_t to, unsigned wanted) const
{
    for (std::size_t at = from; at < to; at += m_unit) {
        const unsigned unit = UnitAt(at);
        if (unit == wanted)
            return at;
        if (m_unit == 1 && IsLeadByte(static_cast<unsigned char>(unit), m_codePage) && at + 1 < to)
            ++at;
    }
    return to;
}

IniDocument::Line IniDocument::LineAt(std::size_t offset) const
{
    Line line;
    line.begin = offset;
    // One pass finds both the line end and the first NUL, where the text ends.
    std::size_t at = offset;
    std::size_t textEnd = m_textEnd;
    for (; at < m_textEnd; at += m_unit) {
        const unsigned unit = UnitAt(at);
        if (unit == kCr || unit == kLf)
            break;
        if (unit == 0 && textEnd == m_textEnd)
            textEnd = at;
    }
    line.contentEnd = at;
    textEnd = std::min(textEnd, at);
    if (at < m_textEnd) {
        const unsigned ending = UnitAt(at);
        at += m_unit;
        if (ending == kCr && at < m_textEnd && UnitAt(at) == kLf)
            at += m_unit;
    }
    line.end = at;

    const std::size_t start = SkipSpaces(line.begin, textEnd);
    if (start == textEnd)
        return line;
    const unsigned first = UnitAt(start);
    if (first == ';') {
        line.kind = LineKind::Comment;
        return line;
    }
    if (first == '[') {
        line.kind = LineKind::Header;
        const std::size_t close = FindUnit(start + m_unit, textEnd, ']');
        line.nameBegin = SkipSpaces(start + m_unit, close);
        line.nameEnd = TrimEnd(line.nameBegin, close);
        return line;
    }
    line.kind = LineKind::Entry;
    const std::size_t equals = FindUnit(start, textEnd, '=');
    line.hasEquals = equals != textEnd;
    line.nameBegin = start;
    line.nameEnd = TrimEnd(start, equals);
    if (line.hasEquals) {
        line.valueBegin = SkipSpaces(equals + m_unit, textEnd);
        line.valueEnd = TrimEnd(line.valueBegin, textEnd);
    }
    return line;
}

std::string IniDocument::Decode(std::size_t begin, std::size_t end) const
{
    if (m_unit == 1)
        return m_bytes.substr(begin, end - begin);
    std::u16string units;
    units.reserve((end - begin) / 2);
    for (std::size_t at = begin; at < end; at += 2)
        units += static_cast<char16_t>(UnitAt(at));
    return Utf16ToAnsi(units, m_codePage);
}

std::string IniDocument::Encode(std::string_view text) const
{
    if (m_unit == 1)
        return std::string(text);
    const std::u16string units = AnsiToUtf16(text, m_codePage);
    std::string out;
    out.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

bool IniDocument::NameIs(std::size_t begin, std::size_t end, std::string_view name) const
{
    if (m_unit == 1)
        return NamesEqual(std::string_view(m_bytes).substr(begin, end - begin), name, m_codePage);
    return NamesEqual(Decode(begin, end), name, m_codePage);
}

std::optional<IniDocument::Line> IniDocument::FindSection(std::string_view section) const
{
    for (std::size_t at = m_textBegin; at < m_textEnd;) {
        const Line line = LineAt(at);
        if (line.kind == LineKind::Header && NameIs(line.nameBegin, line.nameEnd, section))
            return line;
        at = line.end;
    }
    return std::nullopt;
}

// Each loop over a section's lines below starts after its header and stops at
// the next header; where it stops is where the section ends.

std::optional<IniDocument::Line> IniDocument::FindEntry(const Line& header, std::string_view key, bool needEquals) const
{
    for (std::size_t at = header.end; at < m_textEnd;) {
        const Line line = LineAt(at);
        if (line.kind == LineKind::Header)
            break;
        if (line.kind == LineKind::Entry && (line.hasEquals || !needEquals)
            && NameIs(line.nameBegin, line.nameEnd, key))
            return line;
        at = line.end;
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const
{
    const auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    const auto entry = FindEntry(*header, key, true);
    if (!entry)
        return std::nullopt;
    return Decode(entry->valueBegin, entry->valueEnd);
}

std::vector<std::string> IniDocument::SectionEntries(std::string_view section) const
{
    std::vector<std::string> entries;
    const auto header = FindSection(section);
    for (std::size_t at = header ? header->end : m_textEnd; at < m_textEnd;) {
        const Line line = LineAt(at);
        if (line.kind == LineKind::Header)
            break;
        at = line.end;
        if (line.kind != LineKind::Entry)
            continue;
        std::string text = Decode(line.nameBegin, line.nameEnd);
        if (line.hasEquals)
            text += '=' + Decode(line.valueBegin, line.valueEnd);
        entries.push_back(std::move(text));
    }
    return entries;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const
{
    std::vector<std::string> keys;
    const auto header = FindSection(section);
    for (std::size_t at = header ? header->end : m_textEnd; at < m_textEnd;) {
        const Line line = LineAt(at);
        if (line.kind == LineKind::Header)
            break;
        at = line.end;
        if (line.kind == LineKind::Entry && line.hasEquals)
            keys.push_back(Decode(line.nameBegin, line.nameEnd));
    }
    return keys;
}

std::vector<std::string> IniDocument::SectionNames() const
{
    std::vector<std::string> names;
    for (std::size_t at = m_textBegin; at < m_textEnd;) {
        const Line line = LineAt(at);
        at = line.end;
        if (line.kind == LineKind::Header)
            names.push_back(Decode(line.nameBegin, line.nameEnd));
    }
    return names;
}

bool IniDocument::EndsWithLineBreak() const
{
    if (m_textEnd == m_textBegin)
        return true;
    const unsigned last = UnitAt(m_textEnd - m_unit);
    return last == kCr || last == kLf;
}

void IniDocument::AppendSection(std::string_view section, std::string_view entryLines)
{
    std::string text;
    if (!EndsWithLineBreak())
        text += kCrLf;
    text += '[';
    text += section;
    text += ']';
    text += kCrLf;
    text += entryLines;
    Replace(m_textEnd, m_textEnd, Encode(text));
}

void IniDocument::Replace(std::size_t begin, std::size_t end, std::string_view with)
{
    std::string bytes = std::move(m_bytes);
    bytes.replace(begin, end - begin, with);
    SetBytes(std::move(bytes));
}

bool IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string assignment = std::string(1, '=') + std::string(value);
    const auto header = FindSection(section);
    if (!header) {
        AppendSection(section, std::string(key) + assignment + std::string(kCrLf));
        return true;
    }
    // A new key goes after the last entry line, so that trailing comments
    // and blank lines stay below the section's entries.
    Line anchor = *header;
    for (std::size_t at = header->end; at < m_textEnd;) {
        const Line line = LineAt(at);
        if (line.kind == LineKind::Header)
            break;
        at = line.end;
        if (line.kind != LineKind::Entry)
            continue;
        anchor = line;
        if (!NameIs(line.nameBegin, line.nameEnd, key))
            continue;
        // The key keeps its spelling in the file; the rest of the line is new.
        const std::string text = m_bytes.substr(line.nameBegin, line.nameEnd - line.nameBegin) + Encode(assignment);
        if (std::string_view(m_bytes).substr(line.begin, line.contentEnd - line.begin) == text)
            return false;
        // A rewritten last line without a line end gets one, as Windows writes it.
        const std::string lineEnd = line.end == line.contentEnd ? Encode(kCrLf) : std::string();
        Replace(line.begin, line.contentEnd, text + lineEnd);
        return true;
    }
    std::string text;
    if (anchor.end == anchor.contentEnd)
        text += kCrLf;
    text += key;
    text += assignment;
    text += kCrLf;
    Replace(anchor.end, anchor.end, Encode(text));
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key)
{
    const auto header = FindSection(section);
    if (!header)
        return false;
    const auto entry = FindEntry(*header, key, false);
    if (!entry)
        return false;
    Replace(entry->begin, entry->end, {});
    return true;
}

bool IniDocument::RemoveFirstSection(std::string_view section)
{
    const auto header = FindSection(section);
    if (!header)
        return false;
    std::string kept;
    kept.reserve(m_bytes.size());
    kept.append(m_bytes, 0, header->begin);
    std::size_t at = header->end;
    while (at < m_textEnd) {
        const Line line = LineAt(at);
        if (line.kind == LineKind::Header)
            break;
        at = line.end;
        if (line.kind != LineKind::Entry)
            kept.append(m_bytes, line.begin, line.end - line.begin);
    }
    kept.append(m_bytes, at, std::string::npos);
    SetBytes(std::move(kept));
    return true;
}

bool IniDocument::ReplaceSection(std::string_view section, const std::vector<std::string>& entries)
{
    std::string block;
    for (const std::string& entry : entries) {
        block += entry;
        block += kCrLf;
    }
    const auto header = FindSection(section);
    if (!header) {
        AppendSection(section, block);
        return true;
    }
    const std::string encoded = Encode(block);
    std::string rebuilt;
    rebuilt.reserve(m_bytes.size() + encoded.size());
    rebuilt.append(m_bytes, 0, header->end);
    bool placed = false;
    std::size_t at = header->end;
    while (at < m_textEnd) {
        const Line line = LineAt(at);
        if (line.kind == LineKind::Header)
            break;
        at = line.end;
        if (line.kind != LineKind::Entry) {
            rebuilt.append(m_bytes, line.begin, line.end - line.begin);
        } else if (!placed) {
            rebuilt += encoded;
            placed = true;
        }
    }
    if (!placed) {
        // No entry lines: right under the header, which may be the file's
        // last line without a line end.
        const std::string prefix = header->end == header->contentEnd ? Encode(kCrLf) : std::string();
        rebuilt.insert(header->end, prefix + encoded);
    }
    rebuilt.append(m_bytes, at, std::string::npos);
    if (rebuilt == m_bytes)
        return false;
    SetBytes(std::move(rebuilt));
    return true;
}

}  // namespace tavlo::platform
