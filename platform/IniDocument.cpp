#include "IniDocument.h"

#include <algorithm>

namespace platform::ini {
namespace {

constexpr std::string_view kBlanks = " \t\v\f";
constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

std::string_view StripQuotes(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(kBlanks);
    return s.substr(first, last - first + 1);
}

std::uint32_t ParseProfileInt(std::string_view text)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint32_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10u + std::uint32_t(c - '0');  // unsigned: wraps like the platform's
    }
    return negative ? 0u - value : value;
}

Document::Document(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto end = text.find_first_of(kNewLine, pos);
        if (end == std::string_view::npos) {
            m_lines.push_back({std::string(text.substr(pos)), {}, Kind::Blank, {}, 0});
            break;
        }
        const std::size_t eolLen = (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        m_lines.push_back({std::string(text.substr(pos, end - pos)), std::string(text.substr(end, eolLen)),
                           Kind::Blank, {}, 0});
        pos = end + eolLen;
    }
    // Lines we add end as the file's own lines do; a file without any ends in CRLF.
    m_newLine = std::string(kNewLine);
    for (const Line& line : m_lines)
        if (!line.eol.empty()) {
            m_newLine = line.eol;
            break;
        }
    Reclassify();
}

Document::Line Document::Classify(std::string text, std::string eol, bool inSection)
{
    Line line{std::move(text), std::move(eol), Kind::Blank, {}, 0};
    const std::string_view t = Trim(line.text);
    if (t.empty())
        return line;
    if (t.front() == ';') {
        line.kind = Kind::Comment;
    } else if (t.front() == '[') {
        // A header that is never closed starts no section.
        const auto close = t.find(']');
        line.kind = close == std::string_view::npos ? Kind::Orphan : Kind::Section;
        if (close != std::string_view::npos)
            line.name = Trim(t.substr(1, close - 1));
    } else if (!inSection) {
        line.kind = Kind::Orphan;
    } else if (const auto eq = line.text.find('='); eq != std::string::npos) {
        line.kind = Kind::Key;
        line.name = Trim(std::string_view(line.text).substr(0, eq));
        const auto v = line.text.find_first_not_of(kBlanks, eq + 1);
        line.valueStart = v == std::string::npos ? line.text.size() : v;
    } else {
        line.kind = Kind::BareKey;
        line.name = t;
    }
    return line;
}

void Document::Reclassify()
{
    bool inSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        // A UTF-8 byte-order mark, as editors write one, is no part of the first line.
        const bool mark = i == 0 && std::string_view(line.text).substr(0, kByteOrderMark.size()) == kByteOrderMark;
        line = Classify(mark ? line.text.substr(kByteOrderMark.size()) : std::move(line.text), std::move(line.eol),
                        inSection);
        if (mark) {
            line.text.insert(0, kByteOrderMark);
            line.valueStart += kByteOrderMark.size();
        }
        inSection = inSection || line.kind == Kind::Section;
    }
}

std::optional<std::pair<std::size_t, std::size_t>> Document::FindSection(std::string_view name) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind != Kind::Section || !EqualsNoCase(m_lines[i].name, name))
            continue;
        std::size_t end = i + 1;
        while (end < m_lines.size() && m_lines[end].kind != Kind::Section)
            ++end;
        return std::pair{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> Document::FindKey(std::size_t begin, std::size_t end, std::string_view key) const
{
    for (std::size_t i = begin; i < end; ++i) {
        const Line& l = m_lines[i];
        if ((l.kind == Kind::Key || l.kind == Kind::BareKey) && EqualsNoCase(l.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> Document::Get(std::string_view section, std::string_view key) const
{
    const auto range = FindSection(Trim(section));
    if (!range)
        return std::nullopt;
    const auto at = FindKey(range->first + 1, range->second, Trim(key));
    if (!at || m_lines[*at].kind != Kind::Key)
        return std::nullopt;
    const Line& l = m_lines[*at];
    return std::string(StripQuotes(Trim(std::string_view(l.text).substr(l.valueStart))));
}

bool Document::Set(std::string_view sectionIn, const std::string_view* keyIn, const std::string_view* value)
{
    const std::string_view section = Trim(sectionIn);
    if (section.empty() || HasLineBreak(section) || section.find(']') != std::string_view::npos)
        return false;
    std::string_view key;
    if (keyIn) {
        key = Trim(*keyIn);
        if (key.empty() || HasLineBreak(key) || key.find('=') != std::string_view::npos || key.front() == '['
            || key.front() == ';')
            return false;
    }
    if (value && HasLineBreak(*value))
        return false;

    const auto range = FindSection(section);
    if (!keyIn) {  // delete the whole section
        if (range)
            m_lines.erase(m_lines.begin() + std::ptrdiff_t(range->first), m_lines.begin() + std::ptrdiff_t(range->second));
        Reclassify();
        return true;
    }
    const std::string newLine = std::string(key) + "=" + std::string(value ? *value : std::string_view{});

    if (!range) {
        if (!value)
            return true;
        if (!m_lines.empty()) {
            if (m_lines.back().eol.empty())
                m_lines.back().eol = m_newLine;
            if (!Trim(m_lines.back().text).empty())
                m_lines.push_back({{}, m_newLine, Kind::Blank, {}, 0});
        }
        m_lines.push_back({"[" + std::string(section) + "]", m_newLine, Kind::Blank, {}, 0});
        m_lines.push_back({newLine, m_newLine, Kind::Blank, {}, 0});
        Reclassify();
        return true;
    }

    const auto [begin, end] = *range;
    if (const auto at = FindKey(begin + 1, end, key)) {
        Line& l = m_lines[*at];
        if (!value) {
            m_lines.erase(m_lines.begin() + std::ptrdiff_t(*at));
        } else if (l.kind == Kind::Key) {
            // Keep the name as it is spelt, and the blanks around '=', and put the new value in.
            l.text = l.text.substr(0, l.valueStart) + std::string(*value);
        } else {
            l.text = std::string(Trim(l.text)) + "=" + std::string(*value);
        }
        Reclassify();
        return true;
    }
    if (!value)
        return true;

    std::size_t after = begin;  // the header when the section has no key yet
    for (std::size_t i = begin + 1; i < end; ++i)
        if (m_lines[i].kind == Kind::Key || m_lines[i].kind == Kind::BareKey)
            after = i;
    if (m_lines[after].eol.empty())
        m_lines[after].eol = m_newLine;
    m_lines.insert(m_lines.begin() + std::ptrdiff_t(after) + 1, Line{newLine, m_newLine, Kind::Blank, {}, 0});
    Reclassify();
    return true;
}

std::string Document::Text() const
{
    std::string out;
    for (const auto& l : m_lines)
        out += l.text + l.eol;
    return out;
}

std::vector<std::string> Document::SectionNames() const
{
    std::vector<std::string> names;
    for (const auto& l : m_lines)
        if (l.kind == Kind::Section)
            names.push_back(l.name);
    return names;
}

std::vector<std::string> Document::KeyNames(std::string_view section) const
{
    std::vector<std::string> names;
    if (const auto range = FindSection(Trim(section)))
        for (std::size_t i = range->first + 1; i < range->second; ++i)
            if (m_lines[i].kind == Kind::Key || m_lines[i].kind == Kind::BareKey)
                names.push_back(m_lines[i].name);
    return names;
}

}  // namespace platform::ini
