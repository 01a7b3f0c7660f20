#include "update/automatic_update.h"
#include "update/update_settings.h"

#include <gtest/gtest.h>

#include <optional>

using namespace lexora;

namespace {

constexpr DateTime D = 45000; // a day, at 00:00

struct DecisionCase {
    const char *name;
    UpdateStart start;
    UpdateDecision expected;
};

UpdateStart atStart(std::optional<DateTime> due)
{
    UpdateStart s;
    s.serverNamed = true;
    s.today = D;
    s.dueDate = due;
    return s;
}

UpdateStart with(UpdateStart s, void (*change)(UpdateStart &))
{
    change(s);
    return s;
}

constexpr UpdateDecision kNothing{false, false, false};
constexpr UpdateDecision kRecordOnly{true, false, false};
constexpr UpdateDecision kWizard{true, true, false};
constexpr UpdateDecision kManualWizard{false, true, false};
constexpr UpdateDecision kWizardThenEnd{true, true, true};

TEST(AutomaticUpdate, DecidesByModeSettingsAndDueDate)
{
    const DecisionCase cases[] = {
        {"first start: nothing stored", atStart(std::nullopt), kWizard},
        {"due date yesterday", atStart(D - 1), kWizard},
        {"due date today: the comparison is strict", atStart(D), kRecordOnly},
        {"due date in the future", atStart(D + 3), kRecordOnly},
        {"NoUpdate", with(atStart(std::nullopt), [](UpdateStart &s) { s.noUpdate = true; }), kRecordOnly},
        {"NoUpdate, Ctrl+U",
         with(atStart(D + 3), [](UpdateStart &s) { s.noUpdate = true; s.manual = true; }), kManualWizard},
        {"due date ahead, Ctrl+U", with(atStart(D + 3), [](UpdateStart &s) { s.manual = true; }),
         kManualWizard},
        {"no update server at start", with(atStart(std::nullopt), [](UpdateStart &s) { s.serverNamed = false; }),
         kRecordOnly},
        {"no update server, Ctrl+U: the wizard reports the missing connection",
         with(atStart(std::nullopt), [](UpdateStart &s) { s.serverNamed = false; s.manual = true; }),
         kManualWizard},
        {"read-only program folder: the path is still recorded",
         with(atStart(std::nullopt), [](UpdateStart &s) { s.programFolderWritable = false; }), kRecordOnly},
        {"read-only program folder, Ctrl+U",
         with(atStart(std::nullopt), [](UpdateStart &s) { s.programFolderWritable = false; s.manual = true; }),
         kNothing},
        {"OnlyUpdate overrides NoUpdate and the due date",
         with(atStart(D + 3), [](UpdateStart &s) { s.onlyUpdate = true; s.noUpdate = true; }), kWizardThenEnd},
        {"OnlyUpdate without a server still shows the wizard",
         with(atStart(D + 3), [](UpdateStart &s) { s.onlyUpdate = true; s.serverNamed = false; }), kWizardThenEnd},
        {"OnlyUpdate on Ctrl+U does not end the running program",
         with(atStart(D + 3), [](UpdateStart &s) { s.onlyUpdate = true; s.manual = true; }), kManualWizard},
        {"OnlyUpdate with a read-only folder: the program goes on as usual",
         with(atStart(std::nullopt), [](UpdateStart &s) { s.onlyUpdate = true; s.programFolderWritable = false; }),
         kRecordOnly},
        {"/uninstall: nothing written, nothing shown",
         with(atStart(std::nullopt), [](UpdateStart &s) { s.uninstall = true; }), kNothing},
        {"/uninstall with Ctrl+U and OnlyUpdate",
         with(atStart(std::nullopt), [](UpdateStart &s) { s.uninstall = true; s.manual = true; s.onlyUpdate = true; }),
         kNothing},
    };
    for (const DecisionCase &c : cases)
        EXPECT_EQ(decideAutomaticUpdate(c.start), c.expected) << c.name;
}

TEST(AutomaticUpdate, IntervalOfSevenAfterACheckOnDayDInvitesOnDayDPlusSeven)
{
    const DateTime due = nextDueDate(D, 7);
    for (int day = 1; day <= 8; ++day) {
        UpdateStart s = atStart(due);
        s.today = D + day;
        EXPECT_EQ(decideAutomaticUpdate(s).showWizard, day >= 7) << "day D + " << day;
    }
}

TEST(AutomaticUpdate, IntervalDefaultsTo28WhenMissingOrNotPositive)
{
    const struct {
        std::optional<int> stored;
        int days;
    } cases[] = {{std::nullopt, 28}, {0, 28}, {-5, 28}, {1, 1}, {7, 7}, {365, 365}};
    for (const auto &c : cases) {
        EXPECT_EQ(effectiveUpdateInterval(c.stored), c.days) << c.stored.value_or(-999);
        EXPECT_EQ(nextDueDate(D, c.stored), D + c.days - 1);
    }
}

} // namespace
