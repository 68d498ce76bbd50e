#pragma once
// Every number that crosses the toolkit boundary: event codes, canvas event kinds, canvas
// attributes, window, canvas and control flags, key codes, drawing modes. The program and both
// toolkit backends use these names only.

// Colour values cross the boundary too (choose_colour, draw_box, the raster).
#include "model/colour.h"

namespace fontarel {

// Event codes returned by Toolkit::wait_event.
constexpr int kEventControl = 13100; // a control made an event; event_source is the control number
constexpr int kEventMenu = 13101;  // menu item, popup item or shortcut; event_source is the item id
constexpr int kEventDrop = 13106;  // files dropped on a control with drops enabled
constexpr int kEventClose = 13116; // a window's close box was clicked; the window stays open
constexpr int kEventOther = 13000; // platform activity that made no event; the program ignores it
constexpr int kEventClipboard = 13120; // the system clipboard's content changed, by any program

// Canvas event kinds (event_kind of a kEventControl event from a canvas).
constexpr int kKindLeftClick = 0;        // after kKindLeftUp, when released over the canvas
constexpr int kKindRightClick = 1;       // after kKindRightUp, when released over the canvas
constexpr int kKindLeftDoubleClick = 2;  // after the kKindLeftDown of the second press
constexpr int kKindRightDoubleClick = 3; // after the kKindRightDown of the second press
constexpr int kKindMouseEnter = 65537;   // before the first move over the canvas, at its point
constexpr int kKindMouseLeave = 65538;
constexpr int kKindMouseMove = 65539;
constexpr int kKindLeftDown = 65540;
constexpr int kKindLeftUp = 65541;
constexpr int kKindRightDown = 65542;
constexpr int kKindRightUp = 65543;
constexpr int kKindMiddleDown = 65544;
constexpr int kKindMiddleUp = 65545;
constexpr int kKindWheel = 65546;
constexpr int kKindKeyDown = 65547; // repeats while the key is held
constexpr int kKindKeyUp = 65548;   // once per key press
constexpr int kKindChar = 65549;    // a character of code 32 or above was typed
constexpr int kKindFocusIn = 14000;
constexpr int kKindFocusOut = 14001;

// Canvas attributes (Toolkit::control_attribute), valid only during a kEventControl event of that
// canvas.
constexpr int kAttrMouseX = 2;    // pixels of the drawing surface, 0 at its left edge
constexpr int kAttrMouseY = 3;    // pixels, 0 at the top edge
constexpr int kAttrButtons = 4;   // buttons held: kButtonLeft | kButtonRight | kButtonMiddle
constexpr int kAttrKey = 5;       // virtual key code, for kKindKeyDown and kKindKeyUp
constexpr int kAttrModifiers = 6; // kModShift | kModAlt | kModCtrl
constexpr int kAttrWheel = 8;     // wheel steps, for kKindWheel
constexpr int kAttrChar = 9;      // character code, for kKindChar

constexpr int kButtonLeft = 1;
constexpr int kButtonRight = 2;
constexpr int kButtonMiddle = 4;

constexpr int kModShift = 1;
constexpr int kModAlt = 2;
constexpr int kModCtrl = 4;

// Window flags (Toolkit::open_window), as bits.
constexpr int kWindowCentred = 0x00000001;
constexpr int kWindowMinimiseButton = 0x00020000;
constexpr int kWindowSystemMenu = 0x00080000; // system menu and close box
constexpr int kWindowTitleBar = 0x00C00000;   // title bar and a fixed frame
constexpr int kWindowHidden = 0x10000000;

// Canvas flags (Toolkit::create_canvas).
constexpr int kCanvasBorder = 1;    // sunken border of 2 pixels inside the given size
constexpr int kCanvasConfine = 2;   // the pointer cannot leave while a button is held
constexpr int kCanvasFocusable = 4; // takes the keyboard focus when clicked, reachable by Tab
constexpr int kCanvasBorderWidth = 2;

// Label, track bar and text field flags.
constexpr int kLabelCentred = 1;
constexpr int kTrackBarTicks = 1;
// A scroll bar instead of a slider: vertical when higher than wide. Its page (set_track_bar_range)
// is the part of the range a window shows at once.
constexpr int kTrackBarScroll = 2;
constexpr int kTextCentred = 1;
constexpr int kTextRight = 2;
constexpr int kTextMultiLine = 4;

// Key-combination values (Toolkit::add_shortcut): virtual key code in the low 16 bits plus
// modifiers.
constexpr int kComboShift = 0x10000;
constexpr int kComboCtrl = 0x20000;
constexpr int kComboAlt = 0x40000;
constexpr int kComboKeyMask = 0xFFFF; // the virtual key code's bits

// Virtual key codes (canvas attribute kAttrKey). Letters are their upper-case character codes.
constexpr int kKeyEscape = 27;
constexpr int kKeyPageUp = 33;
constexpr int kKeyPageDown = 34;
constexpr int kKeyEnd = 35;
constexpr int kKeyHome = 36;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;
constexpr int kKeyInsert = 45;
constexpr int kKeyDelete = 46;
constexpr int kKeyI = 0x49;
constexpr int kKeyO = 0x4F;

// Drawing modes (Toolkit::set_draw_mode).
constexpr int kDrawFilled = 0;
constexpr int kDrawOutline = 4;

// Passed to Toolkit::resize_window for a value that is to stay as it is.
constexpr int kKeep = -65535;

} // namespace fontarel
