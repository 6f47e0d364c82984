#pragma once
// The one rule for names people type for users, departments and fee items (and fee item codes),
// shared by the windows and the command line: blanks around a name are dropped, a name of blanks
// only is no name, and two names are the same name when they differ only in letter case or in the
// width of their letters, digits and signs ("ＡＢＣ" and "abc"), and a name may hold no control
// character (a tab, a line break, an escape sequence inside it would break every list it is shown in).
#include <string>
#include <string_view>

namespace ca {

// The name without blanks at either end: space, tab, line breaks, the no-break space and the
// ideographic (full-width) space.
std::string trimName(std::string_view name);

// The form in which names are compared: trimmed, full-width ASCII forms (U+FF01 to U+FF5E) and the
// ideographic space folded to their ASCII characters, ASCII letters in lower case.
std::string nameKey(std::string_view name);

// Whether the name holds a control character (U+0000 to U+001F, U+007F to U+009F) after trimming.
bool hasControlCharacter(std::string_view name);

// Whether two names are the same name by the rule above.
inline bool sameName(std::string_view a, std::string_view b) {
    return nameKey(a) == nameKey(b);
}

}  // namespace ca
