// Dialog filters as Qt name filters.

#include "app/Dialogs.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(DialogFilters, BecomeCaselessQtNameFilters)
{
    struct Case {
        std::string vcl;
        std::vector<std::string> qt;
    };
    for (const Case &c : {
             Case{"ILF图标库文件(*.ILF)|*.ILF", {"ILF图标库文件(*.ILF) (*.[iI][lL][fF])"}},
             Case{"EXE FILE AND DLL FILE|*.exe;*.dll|ILF File|*.ilf|All File|*.*",
                  {"EXE FILE AND DLL FILE (*.[eE][xX][eE] *.[dD][lL][lL])", "ILF File (*.[iI][lL][fF])", "All File (*)"}},
             Case{"Icons|*.ico; *.ICO", {"Icons (*.[iI][cC][oO] *.[iI][cC][oO])"}},
             Case{"No pattern", {"No pattern (*)"}},
             Case{"", {}},
         }) {
        EXPECT_EQ(pictarium::qtNameFilters(c.vcl), c.qt) << c.vcl;
    }
}

TEST(DialogFilters, MatchNamesInEitherCase)
{
    const std::string filter = pictarium::qtNameFilters("ILF|*.ILF").front();
    const QString pattern = QString::fromStdString(filter.substr(filter.find('(') + 1, filter.size() - filter.find('(') - 2));
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern));
    for (const char *name : {"a.ILF", "b.ilf", "c.Ilf"})
        EXPECT_TRUE(re.match(QString::fromLatin1(name)).hasMatch()) << name;
    for (const char *name : {"a.ilfx", "ilf", "a.ico"})
        EXPECT_FALSE(re.match(QString::fromLatin1(name)).hasMatch()) << name;
}

TEST(DialogFilters, DefaultSuffixLosesItsDot)
{
    EXPECT_EQ(pictarium::qtDefaultSuffix(".ILF"), "ILF");
    EXPECT_EQ(pictarium::qtDefaultSuffix("bmp"), "bmp");
    EXPECT_EQ(pictarium::qtDefaultSuffix(""), "");
}

} // namespace
