#include "TestSupport.h"

#include <QDir>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace qxtest {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    ASSERT_TRUE(out.good()) << path;
}

bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool PermissionsIgnored()
{
    ScratchDir dir;
    ::chmod(dir.Path().c_str(), 0555);
    const bool writable = ::access(dir.Path().c_str(), W_OK) == 0;
    ::chmod(dir.Path().c_str(), 0755);
    return writable;
}

ScratchDir::ScratchDir()
{
    EXPECT_TRUE(m_dir.isValid());
}

std::string ScratchDir::Path(const std::string& name) const
{
    return m_dir.path().toStdString() + "/" + name;
}

QStringList ScratchDir::Entries() const
{
    return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

}  // namespace qxtest
