/*
 * The layout shared by QelPortavo and its language libraries
 * (QelPortavoEnu.so and its siblings). A language library exports one C
 * function, PortavoResourceTable, that returns its strings and dialogs by
 * number. Texts are UTF-8 and live in the library's static storage.
 */
#ifndef PORTAVO_RESOURCES_H
#define PORTAVO_RESOURCES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define PORTAVO_RESOURCE_VERSION 1u
#define PORTAVO_RESOURCE_SYMBOL "PortavoResourceTable"

typedef struct PortavoText {
    uint32_t id;
    const char* text;
} PortavoText;

/* A dialog: its caption and the texts of its fixed controls (labels and
 * buttons) by control id. The controls that show values are the dialog's own. */
typedef struct PortavoDialog {
    uint32_t id;
    const char* caption;
    const PortavoText* controls;
    uint32_t controlCount;
} PortavoDialog;

typedef struct PortavoResources {
    uint32_t version;
    const PortavoText* strings;
    uint32_t stringCount;
    const PortavoDialog* dialogs;
    uint32_t dialogCount;
} PortavoResources;

typedef const PortavoResources* (*PortavoResourceTableFn)(void);

#ifdef __cplusplus
}
#endif

#endif
