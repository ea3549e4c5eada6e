// main() of every ui test binary: a QApplication (offscreen) around the GoogleTest run.
// The chart asks for "Arial" and "Times New Roman"; which fonts a desktop maps them to depends on
// the font packages installed. The tests pin them to the DejaVu fonts that the bootstrap installs,
// so reference pictures compare alike on any Debian machine.
#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("DejaVu Serif"));
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
