#pragma once
// A whole program started on the in-memory toolkit, for tests that drive it with injected events.

#include <gtest/gtest.h>

#include "app/app.h"
#include "app/event_loop.h"
#include "app/ids.h"
#include "app/start_up.h"
#include "toolkit/headless/headless_toolkit.h"

namespace fontarel {

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(open_program(app)); }

    // Handles the next `count` queued events as the loop would; false once one ends the program.
    bool handle(int count = 1) {
        for (int i = 0; i < count; ++i) {
            if (!dispatch_event(app, tk.wait_event())) {
                return false;
            }
        }
        return true;
    }
    void menu(MenuId item) {
        tk.inject_menu(id(item));
        handle();
    }
    void click(int control, int x, int y, bool right = false) {
        tk.inject_click(control, x, y, right);
        handle(3);
    }
    void key(int control, int code) {
        tk.inject_key(control, code);
        handle(2);
    }
    void canvas(int control, int kind, int x, int y, int buttons = 0) {
        tk.inject_canvas(control, kind, x, y, buttons);
        handle();
    }
    std::string title() const { return tk.window(kMainWindow)->title; }
    std::string text(int control) const { return tk.control(control)->text; }
    const Raster& picture(int control) const { return tk.control(control)->picture; }

    HeadlessToolkit tk{{}, "/tmp/fontarel-work"};
    App app{tk};
};

} // namespace fontarel
