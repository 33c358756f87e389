#pragma once

#include <filesystem>
#include <string>

// The update server's files: whatever lies directly in one folder. In every
// file but a program (*.exe) "{{SITE}}" stands for the site's own address, so
// the served descriptor and menu file name this server whatever port it got.
class UpdateFiles
{
public:
    explicit UpdateFiles(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return FFolder; }

    // False when there is no such file, or the name reaches outside the folder.
    bool read(const std::string& name, const std::string& siteUrl, std::string& content) const;

    static std::string contentType(const std::string& name);

private:
    std::filesystem::path FFolder;
};
