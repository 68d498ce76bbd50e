#pragma once
// Translation between Qt's keys and the toolkit's virtual key codes and key-combination values.

#include <QKeyCombination>
#include <QKeySequence>
#include <Qt>

namespace fontarel {

// The virtual key code of a Qt key: letters are their upper-case character codes, digits their
// character codes, 37-40 the arrows, 45 Insert, 46 Delete, 27 Escape and so on. `keypad` selects
// the numeric-pad codes for digits and operators. 0 for a key that has no code.
int virtual_key(int qt_key, bool keypad);

// The canvas modifier bits (kModShift | kModAlt | kModCtrl) of Qt's modifier state.
int modifier_bits(Qt::KeyboardModifiers modifiers);

// The key sequence of a key-combination value: virtual key in the low 16 bits plus kComboShift,
// kComboCtrl and kComboAlt. An empty sequence when the key has no Qt equivalent.
QKeySequence key_sequence(int combination);

} // namespace fontarel
