#pragma once

#include "controls/colour.h"

namespace tradumar {

// The four desktop colours the button draws with. They are asked for at the
// moment of drawing, never cached by a control, so a change shows on the next
// look drawn.
struct SystemColours {
    Colour buttonFace;      // COLOR_BTNFACE (15): the cleared surface, the disabled fill
    Colour buttonShadow;    // COLOR_BTNSHADOW (16): disabled caption and rounded outline
    Colour buttonHighlight; // COLOR_BTNHIGHLIGHT (20): default BackColor, pressed look's base
    Colour darkShadow;      // COLOR_3DDKSHADOW (21): disabled square outline

    // The classic Windows 2000 scheme: face 212,208,200, shadow 128,128,128,
    // highlight white, dark shadow 64,64,64. Linux desktops have no notion of
    // these four, and taking them from a Qt style's palette would make the
    // button's look (and whether its grey inner lines show, which depends on
    // BackColor equalling the highlight) change from one desktop to the next.
    static SystemColours classic();

    friend bool operator==(const SystemColours&, const SystemColours&) = default;
};

// What the desktop answers now: the classic scheme unless a ScopedSystemColours
// is in force.
SystemColours currentSystemColours();

// Makes currentSystemColours() answer the given colours while it lives, then
// restores what was there before. Guards may nest.
class ScopedSystemColours {
public:
    explicit ScopedSystemColours(const SystemColours& colours);
    ~ScopedSystemColours();
    ScopedSystemColours(const ScopedSystemColours&) = delete;
    ScopedSystemColours& operator=(const ScopedSystemColours&) = delete;

private:
    SystemColours m_previous;
    bool m_hadOverride;
};

} // namespace tradumar
