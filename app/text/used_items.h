// The program-text items vemo asks for, in one list, so that a test can check that the
// shipped qel.dat has every one of them and none is empty. Whoever makes the program
// use a new item number adds it here.
#ifndef VEMO_APP_TEXT_USED_ITEMS_H
#define VEMO_APP_TEXT_USED_ITEMS_H

namespace vemo {

inline constexpr int kUsedProgramTextItems[] = {
    4, 5, 6, 145, 146, 147, 148, 149, 153,
};

}  // namespace vemo

#endif
