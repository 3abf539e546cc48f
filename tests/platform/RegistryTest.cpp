#include "Registry.h"
#include "TempDir.h"

#include <QSettings>
#include <gtest/gtest.h>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    RegistryTest() : previous(qgetenv("XDG_CONFIG_HOME")) { qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit()); }
    ~RegistryTest() override { qputenv("XDG_CONFIG_HOME", previous); }

    TempDir home;
    QByteArray previous;
};

TEST_F(RegistryTest, TheKeyIsAnIniFileInTheConfigurationFolder)
{
    EXPECT_EQ(Registry::filePath(), home.filePath("Corvane/Corvane.conf"));
    {
        Registry key;
        ASSERT_TRUE(key.isOpen());
        key.writeInteger("Form Width", 771);
        key.writeBool("Option Keep Timestamp", true);
        key.writeString("Freedb Server", "gnudb.gnudb.org");
    }
    const QByteArray file = readAll(Registry::filePath());
    EXPECT_TRUE(file.contains("Form%20Width=771")) << file.constData();
    EXPECT_TRUE(file.contains("Option%20Keep%20Timestamp=1"));
    EXPECT_TRUE(file.contains("Freedb%20Server=gnudb.gnudb.org"));
}

TEST_F(RegistryTest, ValuesAreReadBackWithTheirTypes)
{
    Registry key;
    key.writeInteger("Color V1", static_cast<qint32>(0xFF000005u));
    key.writeBool("Use Grid Colors", false);
    key.writeString("Cols Width", "");
    EXPECT_EQ(key.readInteger("Color V1"), -16777211);
    EXPECT_EQ(key.readBool("Use Grid Colors"), false);
    EXPECT_EQ(key.readString("Cols Width"), QString());
    EXPECT_TRUE(key.valueExists("Cols Width"));
    EXPECT_FALSE(key.valueExists("Dictionary Words"));
    EXPECT_EQ(key.readString("Dictionary Words"), std::nullopt);
}

TEST_F(RegistryTest, AValueOfAnotherTypeAnswersNothing)
{
    Registry key;
    key.writeString("Form Width", "wide");
    EXPECT_EQ(key.readInteger("Form Width"), std::nullopt);
    EXPECT_EQ(key.readBool("Form Width"), std::nullopt);
    EXPECT_EQ(key.readString("Form Width"), "wide");
    QSettings(Registry::filePath(), QSettings::IniFormat).setValue("Export Fields", QStringList({"Title", "Artist"}));
    EXPECT_EQ(Registry().readString("Export Fields"), std::nullopt);
}

TEST_F(RegistryTest, ANumberStoredAsTextIsAnInteger)
{
    Registry key;
    key.writeString("Freedb Port", "8880");
    EXPECT_EQ(key.readInteger("Freedb Port"), 8880);
    EXPECT_EQ(key.readBool("Freedb Port"), true);
}

TEST_F(RegistryTest, AKeyThatCannotBeCreatedReadsAndWritesNothing)
{
    home.write("Corvane", "a file where the folder belongs");
    Registry key;
    EXPECT_FALSE(key.isOpen());
    key.writeString("Freedb Server", "x");
    EXPECT_FALSE(key.valueExists("Freedb Server"));
    EXPECT_EQ(key.readString("Freedb Server"), std::nullopt);
    EXPECT_EQ(readAll(home.filePath("Corvane")), "a file where the folder belongs");
}

TEST_F(RegistryTest, WithoutXdgConfigHomeTheKeyLivesInTheHomeConfigurationFolder)
{
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(Registry::filePath().endsWith("/.config/Corvane/Corvane.conf"));
}

}  // namespace
