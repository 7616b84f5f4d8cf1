// The texts of the demo package: its script file, state file, INF files and registry, as the
// package's own installer leaves them.
#pragma once

extern const char* const kDemoScriptFile;  // C:\Capture\uninst.ini
extern const char* const kDemoStateFile;   // C:\Capture\uninstin.ini
extern const char* const kDemoBoardInf;    // the board's INF file
extern const char* const kDemoOtherInf;    // another device's INF file, which must stay
extern const char* const kDemoRegistry;    // .reg text of the package's keys
