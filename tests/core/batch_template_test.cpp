#include "update/batch_template.h"

#include "support/error.h"

#include <gtest/gtest.h>

using namespace lexora;

namespace {

const BatchPaths kPaths{QStringLiteral("/opt/Lexora Programm/"), QStringLiteral("/home/jö/.cache/Lexora/Update/"),
                        QStringLiteral("/opt/Lexora Programm/lexora")};

TEST(BatchTemplate, FillsGroupsTailRestartAndDeleteLines)
{
    const struct {
        const char *name;
        QByteArray text;
        bool restart;
        QByteArray expected;
    } cases[] = {
        {"one group, no restart",
         "# lexora\n"
         "rm -f \"%slexora.old\"\n"
         "cd \"%s\" && mv lexora lexora.old\n"
         "cp \"%slexora\" \"%slexora\"\n",
         false,
         "# lexora\n"
         "rm -f \"/opt/Lexora Programm/lexora.old\"\n"
         "cd \"/opt/Lexora Programm/\" && mv lexora lexora.old\n"
         "cp \"/home/jö/.cache/Lexora/Update/lexora\" \"/opt/Lexora Programm/lexora\"\n"
         "rm -f \"/home/jö/.cache/Lexora/Update/Update.bat\"\n"},
        {"two groups, a blank-led tail, restart, CR LF lines and percent signs",
         "a %s stays\r\n"
         "echo 100%% > \"%sx\"\r\n"
         "true\r\n"
         "cp \"%sx\" \"%sx\"\r\n"
         "b\r\n"
         "%s2\r\n"
         "%s3\r\n"
         "%s4 %s4\r\n"
         " rm -f \"%sx\"\r\n"
         "rm -f \"%sy\" # 50%%\r\n",
         true,
         "a %s stays\n"
         "echo 100% > \"/opt/Lexora Programm/x\"\n"
         "true\n"
         "cp \"/home/jö/.cache/Lexora/Update/x\" \"/opt/Lexora Programm/x\"\n"
         "b\n"
         "/opt/Lexora Programm/2\n"
         "/opt/Lexora Programm/3\n"
         "/home/jö/.cache/Lexora/Update/4 /opt/Lexora Programm/4\n"
         " rm -f \"/home/jö/.cache/Lexora/Update/x\"\n"
         "rm -f \"/home/jö/.cache/Lexora/Update/y\" # 50%\n"
         "\"/opt/Lexora Programm/lexora\" &\n"
         "rm -f \"/home/jö/.cache/Lexora/Update/Update.bat\"\n"},
        {"only a tail", " echo \"%s\"", false,
         " echo \"/home/jö/.cache/Lexora/Update/\"\n"
         "rm -f \"/home/jö/.cache/Lexora/Update/Update.bat\"\n"},
        {"fewer arguments used than given", "x\ny\nz\nw\n", false,
         "x\ny\nz\nw\nrm -f \"/home/jö/.cache/Lexora/Update/Update.bat\"\n"},
        {"empty template", "", true,
         "\"/opt/Lexora Programm/lexora\" &\nrm -f \"/home/jö/.cache/Lexora/Update/Update.bat\"\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(fillBatchTemplate(c.text, kPaths, c.restart), c.expected) << c.name;
}

TEST(BatchTemplate, RefusesWhatItsRulesDoNotCover)
{
    const struct {
        const char *name;
        QByteArray text;
        BatchPaths paths;
    } cases[] = {
        {"group cut short by the end", "a\nb\nc\n", kPaths},
        {"second group cut short", "a\nb\nc\nd\ne\nf\n", kPaths},
        {"empty first line of a group", "\nb\nc\nd\n", kPaths},
        {"more %s than paths", "a\n%s %s\nc\nd\n", kPaths},
        {"more %s than paths in the fourth line", "a\nb\nc\n%s %s %s\n", kPaths},
        {"another directive", "a\necho %d\nc\nd\n", kPaths},
        {"a lone percent sign at the end", " tail %", kPaths},
        {"a program folder the shell would expand", "a\nb\nc\nd\n",
         {QStringLiteral("/opt/$(reboot)/"), kPaths.tempFolder, QStringLiteral("/opt/$(reboot)/lexora")}},
        {"a temporary folder with a double quote", "a\nb\nc\nd\n",
         {kPaths.programFolder, QStringLiteral("/tmp/a\"b/"), kPaths.programFile}},
        {"a program file with a backquote", "", {kPaths.programFolder, kPaths.tempFolder, QStringLiteral("/opt/`x`")}},
    };
    for (const auto &c : cases)
        EXPECT_THROW(fillBatchTemplate(c.text, c.paths, true), Error) << c.name;
}

} // namespace
