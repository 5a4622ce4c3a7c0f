// Forced in front of every source outside platform/: only platform/ talks to the operating
// system and the third-party libraries. Each name below is declared by one of their headers,
// so including that header (or calling the function) after this one stops the compiler.
#pragma once

// Serial ports (termios.h).
#pragma GCC poison tcsetattr tcgetattr cfsetispeed cfsetospeed cfmakeraw
// Pseudo-terminals (pty.h).
#pragma GCC poison openpty forkpty
// File locks and FIFOs (sys/file.h, sys/stat.h).
#pragma GCC poison flock mkfifo
// Signals (signal.h).
#pragma GCC poison sigaction sigemptyset
// SQLite.
#pragma GCC poison sqlite3_open sqlite3_open_v2 sqlite3_exec sqlite3_prepare_v2
// SDL2.
#pragma GCC poison SDL_Init SDL_CreateWindow SDL_PollEvent
// FreeType and fontconfig.
#pragma GCC poison FT_Init_FreeType FT_New_Face FcInit FcFontMatch
// X11.
#pragma GCC poison XOpenDisplay
// libpng.
#pragma GCC poison png_create_read_struct png_create_write_struct
