// The subcommands of uninst-machine, each added to the command line by its own file.
#pragma once

#include <CLI/CLI.hpp>

// Each Add... function registers its subcommand; the callback it installs runs the command and
// sets the process's exit status through SetExitStatus.
void AddInitCommand(CLI::App& app);
void AddIniCommand(CLI::App& app);
void AddRegCommand(CLI::App& app);
void AddBootCommand(CLI::App& app);
void AddDemoCommand(CLI::App& app);

void SetExitStatus(int status);
