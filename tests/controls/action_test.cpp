// The one catch point of a user action.

#include "controls/action.h"
#include "store/error.h"
#include "support/window.h"

#include <gtest/gtest.h>

using testing_support::Seams;

// A failure of the table layer or a refusal ends the action: the window
// first shows again what the tables hold (even where that read fails too),
// then the text is told once.
TEST(RunAction, WhatEndsAnActionIsToldOnceAfterTheStoredValuesAreShown)
{
    Seams seams;
    QStringList steps;
    const auto restore = [&] {
        steps << QStringLiteral("restore after %1 messages").arg(seams.messages.size());
    };
    const auto failingRestore = [&] {
        restore();
        throw store::StoreError(QStringLiteral("Auch nicht lesbar."));
    };
    const struct
    {
        const char* name;
        std::function<Checked<>()> action;
        std::function<void()> restore;
        bool ran;
        QStringList steps;
    } cases[] = {
        {"done", [] { return Checked<>(Passed{}); }, restore, true, {}},
        {"refused",
         [] { return Checked<>::refused(QStringLiteral("Nein.")); },
         restore,
         false,
         {"restore after 0 messages"}},
        {"failed",
         []() -> Checked<> { throw store::StoreError(QStringLiteral("Nein.")); },
         restore,
         false,
         {"restore after 0 messages"}},
        {"failed twice",
         []() -> Checked<> { throw store::StoreError(QStringLiteral("Nein.")); },
         failingRestore,
         false,
         {"restore after 0 messages"}},
    };
    for (const auto& c : cases) {
        steps.clear();
        seams.messages.clear();
        EXPECT_EQ(platform::runAction(nullptr, c.action, c.restore), c.ran) << c.name;
        EXPECT_EQ(steps, c.steps) << c.name;
        EXPECT_EQ(seams.messages, c.ran ? QStringList() : QStringList{"Nein."}) << c.name;
    }
}
