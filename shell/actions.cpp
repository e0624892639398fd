// The program's actions, bound to events by the window definitions.
#include "audio/sound.h"
#include "board/actions.h"
#include "board/catalogue.h"
#include "shell/definitions.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "skin/splash_image.h"
#include "web/own_page.h"

namespace shell {
namespace {

void StartWindowCreated() {
    HWND h = GetWindowHandle(ids::kStartWindow);
    if (skin::CometWindow* engine = State().skin_engine.get()) {
        engine->Attach(h);
        engine->LoadBackImage(&kSplashImage);
    }
    audio::play_sound(board::StartupClip().data);  // no stop first
}

void HideStartWindow() { SetComponentProperty(ids::kStartWindow, ids::kStartUnit, kPropVisible, 0); }

void OpenBoard() { LoadWindow(ids::kBoardWindow, 0, true); }  // returns when the board has closed

void BoardCreated() {
    UnloadWindow(ids::kStartWindow);  // posted: goes when the board's loop dispatches it
    // Without a browser control the panel was left out; the board works on
    // without it rather than ending on a write to a missing component. The
    // page is a resource of this very file, wherever it was moved or renamed.
    if (ServiceEntry(base::kFindObject, ids::kBoardWindow, ids::kWebPanel))
        if (const auto address = web::OwnPageAddress())
            SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, kPropWebUrl, *address);
}

}  // namespace

std::function<void()> BindAction(base::Action action, std::uint32_t /*window_id*/, std::uint32_t unit_id) {
    switch (action) {
        case base::Action::StartCreated: return StartWindowCreated;
        case base::Action::HideStart: return HideStartWindow;
        case base::Action::OpenBoard: return OpenBoard;
        case base::Action::BoardCreated: return BoardCreated;
        case base::Action::PlayClip:
            if (const board::SoundClip* clip = board::FindClip(unit_id))
                return [clip] { board::PlayBoardClip(*clip); };
            return {};
        case base::Action::None: return {};
    }
    return {};
}

}  // namespace shell
