// Button: a filled box with a centred caption that lights up under the mouse
// pointer and reports completed left clicks. The four menu buttons live in
// pictures.cpp; frame.cpp draws them and feeds them the mouse every pass, the
// key handling collects their clicks, the menu shows and hides them and
// moves its keyboard highlight over them.
#pragma once

#include "present.h"

#include <allegro.h>

#include <cstdint>
#include <cstring>

class Button {
  public:
    Button() = default;
    Button(const Button &) = delete;
    Button &operator=(const Button &) = delete;

    void Create(const char *caption, int32_t x0, int32_t y0, int32_t h0, int32_t w0) {
        enabled = true;
        visible = true;
        fontcolor = makecol(0, 0, 0);
        bgcolor = makecol(192, 192, 192);
        lightcolor = makecol(227, 227, 227);
        value = false;
        mousedown = false;
        highlighted = false;
        steered = false;
        std::strncpy(text, caption, sizeof text - 1);
        text[sizeof text - 1] = '\0';
        x = x0;
        y = y0;
        h = h0;
        w = w0;
    }

    // The box includes both corners: w + 1 by h + 1 pixels.
    void Draw(BITMAP *o) {
        if (!visible)
            return;
        const bool lit = steered ? highlighted && enabled : insite();
        rectfill(o, x, y, x + w, y + h, lit ? lightcolor : bgcolor);
        textout_centre_ex(o, font, text, x + w / 2, y + 8, fontcolor, -1);
    }

    // A click completes when the left button is seen up over an armed button,
    // wherever the press began and wherever the pointer went in between; a
    // press let go before the pass saw it held arms the button all the same.
    void Flash() {
        if (!visible || !enabled || !insite())
            return;
        if ((mouse_b & 1) || left_button_pressed)
            mousedown = true;
        else if (mousedown) {
            mousedown = false;
            value = true;
        }
    }

    void Visible(bool b) { visible = b; }

    // A disabled button is still drawn but never lights up or takes a click.
    void Enable(bool b) { enabled = b; }

    // Once the menu has lit a button this way, the menu alone decides whether
    // it is lit: it follows the pointer itself and the keys too.
    void Highlight(bool b) {
        highlighted = b;
        steered = true;
    }

    // Whether the pointer is over the shown button.
    bool Pointed() const { return visible && insite(); }

    // A click completed by a key instead of the mouse.
    void Press() {
        if (visible && enabled)
            value = true;
    }

    bool Value() {
        const bool clicked = value;
        value = false;
        return clicked;
    }

  private:
    // The right edge belongs to the button, the bottom edge does not.
    bool insite() const {
        return x <= field_pointer_x() && field_pointer_x() <= x + w && y <= field_pointer_y() &&
               field_pointer_y() < y + h && enabled;
    }

    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;
    char text[256] = {};
    bool enabled = false;
    bool visible = false;
    int32_t fontcolor = 0;
    int32_t lightcolor = 0;
    int32_t bgcolor = 0;
    bool value = false;
    bool mousedown = false;
    bool highlighted = false; // lit by the menu
    bool steered = false;     // the menu decides what is lit, not the pointer alone
};
