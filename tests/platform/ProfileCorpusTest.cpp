#include "fuzz/ProfileFuzz.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// Every seed of the fuzz target goes through the profile reader with its invariants.
TEST(ProfileFuzzCorpus, EverySeedHoldsTheInvariants)
{
    const QDir dir(QStringLiteral(QX_PROFILE_CORPUS));
    const QStringList seeds = dir.entryList(QDir::Files);
    ASSERT_FALSE(seeds.isEmpty()) << QX_PROFILE_CORPUS;
    for (const QString& name : seeds) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray data = file.readAll();
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(QxFuzzProfile(reinterpret_cast<const std::uint8_t*>(data.constData()), std::size_t(data.size())), 0);
    }
}
