// Scenarios run in a child process, for paths that end the process.
#include "tests/win/child_scenarios.h"

#include <windows.h>

#include <cstdio>

#include "shell/definitions.h"
#include "base/foreign_calls.h"
#include "shell/shell.h"
#include "shell/shell_state.h"

namespace wintest {

namespace {

std::string g_marker;

void LeaveMarker(int position) {
    if (FILE* f = std::fopen(g_marker.c_str(), "w")) {
        std::fprintf(f, "%d", position);
        std::fclose(f);
    }
}

const base::ForeignEntry kMissing[] = {{"user32.dll", "NoSuchExportAnywhere"}};
const base::ForeignEntry kNoLibrary[] = {{"no_such_library_here.dll", "Anything"}};

}  // namespace

int RunChildScenario(const std::string& name, const std::string& marker) {
    using namespace shell;
    g_marker = marker;
    InitShell();
    RegisterExitCallback(LeaveMarker);
    if (name == "normal-exit") {
        Exit(true);
        return 0;
    }
    if (name == "start-window-fails") LoadStartWindow(0x5201FFFF);
    if (name == "property-unknown-window") SetComponentProperty(0x12345678, 0, 5, 0);
    if (name == "class-property-unloaded") SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, 11, std::string("x"));
    if (name == "common-property-unknown-unit") SetComponentProperty(ids::kBoardWindow, 0x16FFFFFF, 5, 0);
    if (name == "handle-not-loaded") GetWindowHandle(ids::kBoardWindow);
    if (name == "unit-not-loaded") {
        LoadStartWindow(ids::kStartWindow);
        GetWindowHandle(ids::kStartWindow, 0x16FFFFFF);
    }
    if (name == "unload-not-loaded") UnloadWindow(ids::kBoardWindow);
    if (name == "alloc-too-much") base::AllocMemory(~std::size_t(15));  // no heap can give this, on either build
    if (name == "missing-entry") {
        base::ProcessForeignCalls().Prepare(kMissing);
        base::ProcessForeignCalls().Resolve(0);
    }
    if (name == "missing-library") {
        base::ProcessForeignCalls().Prepare(kNoLibrary);
        base::ProcessForeignCalls().Resolve(0);
    }
    return 3;  // the scenario should not have come back
}

}  // namespace wintest
