#include "editor/CChromaSettings.h"

#include "editor/ColouringSettings.h"
#include "platform/SettingsStore.h"

namespace varn {

CChromaSettings CChromaSettings::read(const SettingsStore& store, const std::string& section) {
    CChromaSettings c;
    c.keyword = parseColour(store.getString(section, ColouringKey::Keyword, kDefaultKeyword));
    c.quote = parseColour(store.getString(section, ColouringKey::Quote, kDefaultQuote));
    c.comment = parseColour(store.getString(section, ColouringKey::Comment, kDefaultComment));
    c.defaultText = parseColour(store.getString(section, ColouringKey::DefaultText, kDefaultDefaultText));
    c.background = parseColour(store.getString(section, ColouringKey::Background, kDefaultBackground));
    c.caseSensitive = store.getInt(section, ColouringKey::Case, 1) != 0;
    c.chroma = store.getInt(section, ColouringKey::Chroma, 1) != 0;
    return c;
}

std::vector<SettingWrite> CChromaSettings::okWrites(const std::string& section) const {
    const std::pair<const char*, std::string> values[] = {
        {ColouringKey::Keyword, formatColour(keyword)},
        {ColouringKey::Quote, formatColour(quote)},
        {ColouringKey::Comment, formatColour(comment)},
        {ColouringKey::DefaultText, formatColour(defaultText)},
        {ColouringKey::Background, formatColour(background)},
        {ColouringKey::Case, caseSensitive ? "1" : "0"},
        {ColouringKey::Chroma, chroma ? "1" : "0"},
    };
    std::vector<SettingWrite> writes;
    for (const auto& [key, value] : values) {
        writes.push_back({section, key, value});
        writes.push_back({kCBuildFilesSection, key, value});
    }
    return writes;
}

void CChromaSettings::write(SettingsStore& store, const std::string& section) const {
    for (const SettingWrite& w : okWrites(section)) store.setString(w.section, w.key, w.value);
}

}  // namespace varn
