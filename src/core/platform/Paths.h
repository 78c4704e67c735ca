// Path helpers: the stored Windows form of project files (".\sub\x.vsl") and
// native paths, base names and extensions, case-insensitive comparison, and
// the relative-path rule used for every path a project file stores.
#pragma once

#include <string>

namespace varn::paths {

bool equalNoCase(const std::string& a, const std::string& b);
std::string upper(std::string s);
std::string lower(std::string s);

// Folder part without the trailing separator ("" for a bare name, "/" for root).
std::string folderOf(const std::string& path);
// Last component.
std::string fileName(const std::string& path);
// File name without folder and without extension.
std::string baseName(const std::string& path);
// Extension without the dot ("" when none).
std::string extension(const std::string& path);
// Replaces the extension (given without dot).
std::string withExtension(const std::string& path, const std::string& ext);
std::string join(const std::string& folder, const std::string& name);
bool isAbsolute(const std::string& path);
// Makes a path absolute against the current directory and removes "." and ".." components.
std::string absolute(const std::string& path);
std::string normalize(const std::string& path);

// "\" becomes "/" (a drive letter stays as it stands).
std::string toNative(const std::string& stored);
// "/" becomes "\".
std::string toStored(const std::string& native);

// The form a project file stores for `file` (native, full) relative to the
// project folder (native, full): ".\rest", ".\..\..\rest", or the full path.
std::string relativeForm(const std::string& file, const std::string& projectFolder);
// The native full path of a stored value: values beginning with "." are taken
// against the project folder, others as full paths; "" stays "".
std::string resolveStored(const std::string& stored, const std::string& projectFolder);

}  // namespace varn::paths
