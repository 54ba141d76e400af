#include "IniFuzz.h"

#include "FuzzCheck.h"
#include "platform/IniDocument.h"

#include <map>
#include <string>
#include <utility>

namespace {

using qxfuzz::Require;

using Snapshot = std::map<std::pair<std::string, std::string>, std::optional<std::string>>;

Snapshot Values(const platform::ini::Document& doc)
{
    Snapshot values;
    int sections = 0;
    for (const auto& section : doc.SectionNames()) {
        if (++sections > 16)
            break;
        int keys = 0;
        for (const auto& key : doc.KeyNames(section)) {
            if (++keys > 16)
                break;
            values.emplace(std::pair{section, key}, doc.Get(section, key));
        }
    }
    return values;
}

bool SameName(const std::string& a, const std::string& b)
{
    return platform::ini::EqualsNoCase(platform::ini::Trim(a), platform::ini::Trim(b));
}

void CheckSet(const std::string& text, const std::string& section, const std::string& key)
{
    platform::ini::Document doc(text);
    const Snapshot before = Values(doc);
    if (!doc.Set(section, key, "v1")) {
        Require(doc.Text() == text);
        return;
    }
    Require(doc.Get(section, key) == std::optional<std::string>("v1"));
    // Nothing else that could be read before reads differently now.
    const platform::ini::Document reread(doc.Text());
    Require(reread.Get(section, key) == std::optional<std::string>("v1"));
    for (const auto& [name, value] : before)
        if (!(SameName(name.first, section) && SameName(name.second, key)))
            Require(reread.Get(name.first, name.second) == value);
}

}  // namespace

int QxFuzzIni(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const platform::ini::Document doc(text);
    Require(doc.Text() == text);  // reading keeps every byte
    platform::ini::ParseProfileInt(text.substr(0, 64));

    CheckSet(text, "Quorlantix", "SkinType");
    const auto sections = doc.SectionNames();
    if (!sections.empty()) {
        const auto keys = doc.KeyNames(sections.back());
        CheckSet(text, sections.back(), keys.empty() ? std::string("New") : keys.front());
        platform::ini::Document removed(text);
        const std::string_view key = keys.empty() ? std::string_view("New") : std::string_view(keys.front());
        removed.Set(sections.back(), &key, nullptr);
        removed.Set(sections.front(), nullptr, nullptr);
    }
    return qxfuzz::Result();
}
