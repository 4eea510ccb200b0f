#pragma once

#include <QString>

#include "console/console_controls.h"

namespace vorlane::testing {

// The console's controls as plain fields; "Domain Local" when neither scope flag is set.
struct FakeConsoleControls : ConsoleControls {
    bool global = true;
    bool universal = false;
    bool addUser = false;
    QString email;

    bool globalSelected() const override { return global; }
    bool universalSelected() const override { return universal; }
    bool addUserChecked() const override { return addUser; }
    QString emailText() const override { return email; }
};

}  // namespace vorlane::testing
