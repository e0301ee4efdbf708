#pragma once
// The one seam for modal messages and questions. Headless code decides what to say and
// asks the presenter to show it; the Qt layer installs a presenter that shows the program's
// message box or the platform's plain boxes, and tests install a scripted answerer that
// records what was shown and returns planned answers.

#include <string>

namespace derode::core {

enum class MessageKind {
    Information,     // the program's box, caption "INFO", button "OK"
    Error,           // the program's box, caption "ERREUR", button "OK"
    Question,        // the program's box, caption "ATTENTION", buttons "Oui" / "Non"
    PlainError,      // the platform's error box
    PlainInformation,// the platform's information box
    PlainWarning,    // the platform's warning box
};

struct Message {
    MessageKind kind = MessageKind::Information;
    std::string text;        // UTF-8, with the program's "\r\n" line breaks
    std::string caption;     // empty: the kind's own caption
    bool smallFont = false;  // the message in Arial 10 instead of Arial 12
};

// Returns 1 for "OK" / "Oui", 0 for "Non", Escape or the close box.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual int present(const Message& message) = 0;
};

// Installs the presenter for the run (not owned). Without one, messages are answered 0.
void setMessagePresenter(MessagePresenter* presenter);
MessagePresenter* messagePresenter();

int showMessage(const Message& message);
int showInformation(const std::string& text, const std::string& caption = {});
int showError(const std::string& text, const std::string& caption = {});
// True when the answer is "Oui".
bool askYesNo(const std::string& text, const std::string& caption = {});

}  // namespace derode::core
