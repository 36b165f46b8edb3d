#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo::platform {

// ANSI code pages the document knows. Names match without regard to the case
// of ASCII letters only; in a double-byte code page the byte after a lead byte
// is never folded nor taken for "]".
inline constexpr unsigned kCodePageUtf8 = 65001;
inline constexpr unsigned kCodePageWestern = 1252;
inline constexpr unsigned kCodePageShiftJis = 932;

// The bytes of one INI file and what its lines mean, read the way the Windows
// profile functions read a file and edited the way they edit one: in place,
// so that every byte outside the line that changes stays as it was (blank
// lines, spacing, comments, line ends, even NUL bytes).
//
// A file that starts with the UTF-16LE byte-order mark is read and written in
// UTF-16LE. Any other file is bytes in the ANSI code page; a UTF-8 or UTF-16BE
// mark is then only text of the first line. Names and values that cross this
// interface are always in the ANSI code page.
//
// Lines end at CR LF, LF or a lone CR. A line's text ends at its first NUL.
// After trimming spaces, tabs, CR, LF, VT, FF and Ctrl-Z a line is blank, a
// comment (";" first), a section header ("[" first; the name ends at the
// first "]" or at the end of the line) or an entry: key "=" value, or a key
// alone without "=". Lines before the first header belong to no section.
// The first of two equal sections or keys is the one that counts.
//
// Parsing and every edit cost time in proportion to the size of the file.
class IniDocument {
public:
    explicit IniDocument(std::string bytes = {}, unsigned codePage = kCodePageUtf8);

    const std::string& bytes() const { return m_bytes; }

    // Reads. `section` and `key` are matched as given: the caller trims them.

    // The trimmed value of the first entry `key` with "=", quotes kept; nullopt
    // when the section or the key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    // Every entry line of the section in file order: "key=value" with key and
    // value trimmed, or the trimmed key alone for a line without "=". Empty
    // when the section is missing or has no entries.
    std::vector<std::string> SectionEntries(std::string_view section) const;
    // The keys of the entries with "=", in file order, repeats included.
    std::vector<std::string> KeyNames(std::string_view section) const;
    // The names of all section headers in file order, repeats included.
    std::vector<std::string> SectionNames() const;

    // Edits. Each returns true when the bytes changed.

    // Replaces the text of the key's line with key "=" value (the key as it is
    // spelled in the file), or adds key=value after the section's last entry
    // line, or adds the section at the end of the file.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first line of the key.
    bool DeleteKey(std::string_view section, std::string_view key);
    // Removes the first section of the name: its header and entry lines; its
    // comment and blank lines stay where they were.
    bool RemoveFirstSection(std::string_view section);
    // Replaces the section's entry lines with `entries` (each a line without
    // its line end), where the first old entry stood or else under the header;
    // adds the section at the end of the file when it is missing.
    bool ReplaceSection(std::string_view section, const std::vector<std::string>& entries);

private:
    enum class LineKind { Blank, Comment, Header, Entry };
    // Byte offsets into m_bytes. Lines are read where they are needed, never
    // stored, so a document costs no more memory than its bytes.
    struct Line {
        std::size_t begin = 0;
        std::size_t contentEnd = 0;  // where the line end starts
        std::size_t end = 0;         // after the line end
        LineKind kind = LineKind::Blank;
        std::size_t nameBegin = 0;  // header name, or the entry's key (trimmed)
        std::size_t nameEnd = 0;
        std::size_t valueBegin = 0;  // the entry's value (trimmed)
        std::size_t valueEnd = 0;
        bool hasEquals = false;
    };

    Line LineAt(std::size_t offset) const;
    unsigned UnitAt(std::size_t offset) const;
    bool IsSpace(unsigned unit) const;
    std::size_t SkipSpaces(std::size_t from, std::size_t to) const;
    std::size_t TrimEnd(std::size_t from, std::size_t to) const;
    std::size_t FindUnit(std::size_t from, std::size_t to, unsigned wanted) const;

    std::string Decode(std::size_t begin, std::size_t end) const;
    std::string Encode(std::string_view text) const;
    bool NameIs(std::size_t begin, std::size_t end, std::string_view name) const;

    // The header line of the section; its lines run up to the next header.
    std::optional<Line> FindSection(std::string_view section) const;
    std::optional<Line> FindEntry(const Line& header, std::string_view key, bool needEquals) const;
    bool EndsWithLineBreak() const;
    void AppendSection(std::string_view section, std::string_view entryLines);
    void Replace(std::size_t begin, std::size_t end, std::string_view with);
    void SetBytes(std::string bytes);

    std::string m_bytes;
    unsigned m_codePage;
    std::size_t m_unit = 1;       // 2 in a UTF-16LE file
    std::size_t m_textBegin = 0;  // after the byte-order mark
    std::size_t m_textEnd = 0;    // a UTF-16LE file's odd last byte lies beyond
};

}  // namespace tavlo::platform
