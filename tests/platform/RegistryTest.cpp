#include "Registry.h"
#include "TempDir.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// Permission bits do not stop root, so the key is opened in a child that acts as another user,
// the owner of the settings folder and file.
TEST_F(RegistryTest, AFileThatCannotBeWrittenIsReadAndItsValuesAreNotStored)
{
    const QByteArray content = "[General]\nFreedb%20Port=1234\n";
    const QString path = home.write("Corvane/Corvane.conf", content);
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(home.filePath("Corvane"));
    const uid_t nobody = 65534;
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_TRUE(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0
                    && ::chown(folder.constData(), nobody, nobody) == 0 && ::chown(file.constData(), nobody, nobody) == 0);
    }
    for (const auto& [folderMode, fileMode] : {std::pair<mode_t, mode_t>{0755, 0444}, {0555, 0644}}) {
        ASSERT_TRUE(::chmod(folder.constData(), folderMode) == 0 && ::chmod(file.constData(), fileMode) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (root && (::setgid(nobody) != 0 || ::setuid(nobody) != 0))
                ::_exit(2);
            Registry key;
            const bool read = key.readString("Freedb Port") == "1234";
            key.writeString("Freedb Server", "x");
            ::_exit(read && key.store() == "Freedb Server" ? 0 : 1);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(status, 0) << "folder " << folderMode << ", file " << fileMode;
        EXPECT_EQ(readAll(path), content);
    }
    ::chmod(folder.constData(), 0755);
}

TEST_F(RegistryTest, WithoutXdgConfigHomeTheKeyLivesInTheHomeConfigurationFolder)
{
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_TRUE(Registry::filePath().endsWith("/.config/Corvane/Corvane.conf"));
}

}  // namespace
