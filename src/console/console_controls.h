#pragma once

#include <QString>

namespace vorlane {

// What the console's procedures read from the window at the moment they need it.
class ConsoleControls {
public:
    virtual ~ConsoleControls() = default;
    virtual bool globalSelected() const = 0;     // optGlobal
    virtual bool universalSelected() const = 0;  // optUniversal
    virtual bool addUserChecked() const = 0;     // chkUser
    virtual QString emailText() const = 0;       // txtEmail
};

}  // namespace vorlane
