#pragma once
// The shared message boxes every window and procedure uses. A box whose caption is empty carries the
// application title.
#include <string>

#include "ca/util/Prompts.h"

namespace ca {

inline constexpr const char* kAppTitle = "报关助手";

// The caption a box shows: the given one, or the application title when it is empty.
std::string captionOrTitle(const std::string& caption);

// Information icon, OK.
void infoBox(Prompts& prompts, const std::string& text, const std::string& caption = "");
// Exclamation icon, OK.
void warningBox(Prompts& prompts, const std::string& text, const std::string& caption = "");
// Question icon, Yes and No, No the default. Returns Button::Yes or Button::No.
Button questionBox(Prompts& prompts, const std::string& text, const std::string& caption = "");
// OK, no icon, the application title.
void plainMessage(Prompts& prompts, const std::string& text);

}  // namespace ca
