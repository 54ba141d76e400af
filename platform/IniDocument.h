#pragma once
// Initialisation-file text held as lines, read and edited the way the Windows profile
// functions do: names compared without regard to ASCII case, blanks around names and
// values ignored, the first of duplicate sections or keys wins, ';' starts a comment,
// lines before the first section are ignored. Edits touch only the lines they must;
// every other byte of the text is kept.
//
// Plain std only, so the fuzz target can build it on its own.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::ini {

class Document {
public:
    explicit Document(std::string_view text = {});

    // The value under section/key with blanks and one pair of enclosing quotes removed;
    // nullopt when the section, the key or its '=' is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets key to value (appending the section and the key when missing), deletes the
    // key when value is null, deletes the section when key is null. Returns false and
    // changes nothing when a name or the value cannot be stored in a line of its own
    // (line breaks, '=' in a key, ']' in a section name, an empty name).
    bool Set(std::string_view section, const std::string_view* key, const std::string_view* value);

    // Shorthand for the common case.
    bool Set(std::string_view section, std::string_view key, std::string_view value)
    {
        return Set(section, &key, &value);
    }

    std::string Text() const;

    // Names of the sections in file order (duplicates included), for tools and fuzzing.
    std::vector<std::string> SectionNames() const;
    std::vector<std::string> KeyNames(std::string_view section) const;

private:
    enum class Kind { Blank, Comment, Section, Key, BareKey, Orphan };
    struct Line {
        std::string text;  // without its line end
        std::string eol;   // "\r\n", "\n", "\r" or "" for a last line without one
        Kind kind = Kind::Blank;
        std::string name;   // section or key name, trimmed
        std::size_t valueStart = 0;  // Key: offset of the value's first non-blank byte
    };

    static Line Classify(std::string text, std::string eol, bool inSection);
    // [begin, end) lines of the first section called name; begin is its header.
    std::optional<std::pair<std::size_t, std::size_t>> FindSection(std::string_view name) const;
    std::optional<std::size_t> FindKey(std::size_t begin, std::size_t end, std::string_view key) const;
    void Reclassify();

    std::vector<Line> m_lines;
    std::string m_newLine;  // the end of the lines we add: the file's first line end
};

// Integer reading as the profile functions do it: optional sign, then the leading
// decimal digits, wrapping to 32 bits; no leading digit reads 0.
std::uint32_t ParseProfileInt(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string_view Trim(std::string_view s);

}  // namespace platform::ini
