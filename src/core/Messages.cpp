#include "core/Messages.h"

namespace derode::core {

namespace {
MessagePresenter*& presenterSlot()
{
    static MessagePresenter* presenter = nullptr;
    return presenter;
}
}  // namespace

void setMessagePresenter(MessagePresenter* presenter) { presenterSlot() = presenter; }

MessagePresenter* messagePresenter() { return presenterSlot(); }

int showMessage(const Message& message)
{
    MessagePresenter* presenter = presenterSlot();
    return presenter ? presenter->present(message) : 0;
}

int showInformation(const std::string& text, const std::string& caption)
{
    return showMessage({MessageKind::Information, text, caption});
}

int showError(const std::string& text, const std::string& caption)
{
    return showMessage({MessageKind::Error, text, caption});
}

bool askYesNo(const std::string& text, const std::string& caption)
{
    return showMessage({MessageKind::Question, text, caption}) == 1;
}

}  // namespace derode::core
