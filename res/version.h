/* The program's version, in one place: the string the About box shows and the
 * update check sends (string 117), the version resource and the installer all
 * take it from here. Only #define lines and comments here. */
#ifndef PAUSORA_VERSION_H
#define PAUSORA_VERSION_H

#define PAUSORA_VERSION_MAJOR 1
#define PAUSORA_VERSION_MINOR 1
#define PAUSORA_VERSION_TEXT "1.1"

#endif
