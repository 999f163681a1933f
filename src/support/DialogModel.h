#pragma once
#include <string_view>

#include "support/Result.h"

namespace tavrok::support {

// The plain description of a modal dialog: its fields live in the derived class beside the
// subsystem that owns the dialog, and accept() applies the rules of its OK button.
// A view (Qt, the command line, a test script) edits the fields and calls accept() until it
// succeeds or the user cancels.
class DialogModel {
  public:
    virtual ~DialogModel() = default;

    // Resource name such as "IDD_DIALOG1"; lets views and scripts find the right form.
    virtual std::string_view dialogId() const = 0;
    // The title bar text, for example "Matrix Data Format".
    virtual std::string_view title() const = 0;
    // Validates and normalises the fields as the OK button does. An error is shown to the user
    // and the dialog stays open.
    virtual Status accept() = 0;
};

}  // namespace tavrok::support
