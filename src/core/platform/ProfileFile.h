// An INI ("profile") file held whole in memory with the semantics of the
// private-profile functions: sections and keys found without regard to case,
// values trimmed and unquoted on reading, unknown sections kept on writing.
// Sections and keys are indexed, so reading and writing take linear time.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Result.h"

namespace varn {

class ProfileFile {
public:
    struct Entry {
        std::string key;
        std::string value;
        bool raw = false;  // a line kept as it stood (comment or text without "=")
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        // Upper-cased key name -> position of its entry (raw lines are not indexed).
        std::unordered_map<std::string, std::size_t> index;
    };

    // Reads text in either line-end form. `strict` reports text that is not a
    // profile (NUL bytes, or a line outside any section that is not blank or a comment).
    static Result<ProfileFile> parse(const std::string& text, bool strict = false);
    // A missing file reads as an empty profile.
    static Result<ProfileFile> load(const std::string& path, bool strict = false);

    std::string serialize(const char* lineEnd = "\r\n") const;
    Status save(const std::string& path, const char* lineEnd = "\r\n") const;

    bool hasSection(const std::string& section) const;
    // The raw stored value, untrimmed of quotes.
    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    // Value as the profile functions return it: quotes around the whole value removed.
    std::string getString(const std::string& section, const std::string& key, const std::string& def = {}) const;
    // Leading blanks, sign and digits; anything else reads as 0; a missing key gives def.
    int getInt(const std::string& section, const std::string& key, int def) const;

    // Every key name of the section, in file order.
    std::vector<std::string> keyNames(const std::string& section) const;

    void set(const std::string& section, const std::string& key, const std::string& value);
    void removeKey(const std::string& section, const std::string& key);
    void removeSection(const std::string& section);

    const std::vector<Section>& sections() const { return sections_; }

private:
    Section* find(const std::string& section);
    const Section* find(const std::string& section) const;
    Section& findOrAdd(const std::string& section);
    static const Entry* findEntry(const Section& s, const std::string& key);
    void reindexSections();

    std::vector<Section> sections_;
    // Upper-cased section name -> position in sections_.
    std::unordered_map<std::string, std::size_t> sectionIndex_;
};

// Integer reading shared by the profile and settings readers (atoi rules,
// saturated to the int range).
int parseLeadingInt(const std::string& text);

}  // namespace varn
