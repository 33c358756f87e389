#include "UpdateFiles.h"

#include <fstream>
#include <iterator>

namespace {

bool plainFileName(const std::string& name)
{
    if (name.empty() || name.front() == '.')
        return false;
    for (const char c : name) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                        (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (!ok)
            return false;
    }
    return true;
}

bool endsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

} // namespace

UpdateFiles::UpdateFiles(std::filesystem::path folder) : FFolder(std::move(folder)) {}

bool UpdateFiles::read(const std::string& name, const std::string& siteUrl,
                       std::string& content) const
{
    if (!plainFileName(name))
        return false;
    const std::filesystem::path file = FFolder / name;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!endsWith(name, ".exe")) {
        static const std::string placeholder = "{{SITE}}";
        for (size_t at = content.find(placeholder); at != std::string::npos;
             at = content.find(placeholder, at + siteUrl.size()))
            content.replace(at, placeholder.size(), siteUrl);
    }
    return true;
}

std::string UpdateFiles::contentType(const std::string& name)
{
    if (endsWith(name, ".ini"))
        return "text/plain; charset=gbk";
    return "application/octet-stream";
}
