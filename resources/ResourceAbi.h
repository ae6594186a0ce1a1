/*
 * The layout shared by the program and its language libraries. A language
 * library exports one C function, MemorixResourceTable, that returns a table of
 * every string, menu, tool bar and dialog of the user interface by number.
 * Texts are UTF-8. Everything lives in the library's static storage for as
 * long as it stays loaded. Change the layout only together with the version.
 */
#ifndef MEMORIX_RESOURCE_ABI_H
#define MEMORIX_RESOURCE_ABI_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MX_RESOURCE_ABI_VERSION 1u
#define MX_RESOURCE_TABLE_SYMBOL "MemorixResourceTable"

typedef struct MxStringResource {
    uint32_t id;
    const char* text;
} MxStringResource;

/* Menu items in display order. depth 0 items are the menu's top level (for a
 * menu bar, the drop-down titles); a popup's items follow it with depth + 1.
 * Keyboard shortcuts follow the text after a tab ("&Open...\tCtrl+O"). */
enum MxMenuFlags { MX_MENU_COMMAND = 0, MX_MENU_POPUP = 1, MX_MENU_SEPARATOR = 2 };

typedef struct MxMenuItem {
    uint16_t depth;
    uint16_t flags;
    uint32_t commandId;
    const char* text;
} MxMenuItem;

typedef struct MxMenuResource {
    uint32_t id;
    const MxMenuItem* items;
    uint32_t count;
} MxMenuResource;

/* Tool bar buttons by command id, in order; 0 is a separator. */
typedef struct MxToolBarResource {
    uint32_t id;
    const uint32_t* buttons;
    uint32_t count;
} MxToolBarResource;

enum MxControlKind {
    MX_CTL_STATIC = 0,
    MX_CTL_PUSHBUTTON = 1,
    MX_CTL_DEFPUSHBUTTON = 2,
    MX_CTL_CHECKBOX = 3,
    MX_CTL_RADIOBUTTON = 4,
    MX_CTL_GROUPBOX = 5,
    MX_CTL_EDIT = 6,
    MX_CTL_LISTBOX = 7,
    MX_CTL_CHECKLISTBOX = 8,
    MX_CTL_COMBOBOX = 9,
    MX_CTL_LISTVIEW = 10,
    MX_CTL_ICON = 11
};

/* A dialog control in dialog units (a quarter of the average character width,
 * an eighth of the character height), in the dialog's tab order. */
typedef struct MxControlResource {
    uint32_t id;
    uint32_t kind;
    const char* text;
    int16_t x;
    int16_t y;
    int16_t cx;
    int16_t cy;
} MxControlResource;

typedef struct MxDialogResource {
    uint32_t id;
    const char* caption;
    int16_t cx;
    int16_t cy;
    const MxControlResource* controls;
    uint32_t count;
} MxDialogResource;

typedef struct MxResourceTable {
    uint32_t abiVersion;
    const char* language; /* the suffix: "Enu", ... */
    const MxStringResource* strings;
    uint32_t stringCount;
    const MxMenuResource* menus;
    uint32_t menuCount;
    const MxToolBarResource* toolBars;
    uint32_t toolBarCount;
    const MxDialogResource* dialogs;
    uint32_t dialogCount;
} MxResourceTable;

typedef const MxResourceTable* (*MxResourceTableFunction)(void);

#ifdef __cplusplus
}
#endif

#endif
