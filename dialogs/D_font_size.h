// "Custom Font Size": asks for the editor's font size in points, 1 to 500.
#pragma once

#include "framework/dialog.h"

class D_font_size : public Dialog {
public:
    static constexpr int min_size = 1;
    static constexpr int max_size = 500;

    // size: the caller's font size; shown when the dialog opens, replaced only by OK with a
    // valid size.
    explicit D_font_size(int* size);

    int help_context() const override;

protected:
    bool on_init() override;
    // On OK: the field must hold a whole number from 1 to 500, or the dialog stays open with
    // the message shown and the focus back in the field.
    void exchange(Data_exchange& dx) override;

private:
    int* font_size;
    int entered_size;
};
