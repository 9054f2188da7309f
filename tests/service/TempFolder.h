#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// A fresh folder below the system temporary folder, removed with its contents at the end.
class TempFolder
{
public:
    TempFolder()
    {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "meridex-test-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr)
            std::abort();
        m_path = tmpl;
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};
