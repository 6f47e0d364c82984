#include "ca/util/MessageBoxes.h"

namespace ca {

std::string captionOrTitle(const std::string& caption) {
    return caption.empty() ? kAppTitle : caption;
}

void infoBox(Prompts& prompts, const std::string& text, const std::string& caption) {
    prompts.info(text, captionOrTitle(caption));
}

void warningBox(Prompts& prompts, const std::string& text, const std::string& caption) {
    prompts.warning(text, captionOrTitle(caption));
}

Button questionBox(Prompts& prompts, const std::string& text, const std::string& caption) {
    return prompts.question(text, captionOrTitle(caption)) == Button::Yes ? Button::Yes : Button::No;
}

void plainMessage(Prompts& prompts, const std::string& text) {
    prompts.plainMessage(text);
}

}  // namespace ca
