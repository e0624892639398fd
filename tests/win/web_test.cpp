// The web panel: its host window, the browser control inside it (Wine's own,
// which creates, takes settings and navigates but draws no page without its
// engine), the properties, and the failure path where no control is made.
// Call shapes are checked against FakeBrowser, which writes down each call.
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "shell/definitions.h"
#include "shell/shell.h"
#include "shell/shell_state.h"
#include "base/text_win.h"
#include "tests/win/web_class_override.h"
#include "tests/win/web_fake_browser.h"
#include "tests/win/win_test_util.h"
#include "web/browser_calls.h"
#include "web/own_page.h"
#include "web/page_address.h"
#include "web/web_panel.h"

namespace {

using namespace shell;
using web::ComPtr;
using web::WebPanel;
using webtest::FakeBrowser;

constexpr RECT kPanelOnBoard{8, 8, 384, 168};  // client pixels 8..383 by 8..167
constexpr wchar_t kZoomDefault[] = L"ExecWB(19, 2, I4:2, null)";  // OLECMDID_ZOOM, DONTPROMPTUSER

void EnsureShell() {
    static bool initialised = false;
    if (!initialised) InitShell();
    initialised = true;
}

RECT RectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Text(const RECT& r) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return buf;
}

int ChildCount(HWND parent) {
    int n = 0;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
    return n;
}

const base::UnitState& BoardPanelUnit() {
    for (const base::UnitState& u : FindSlot(ids::kBoardWindow)->units)
        if (u.def->id == ids::kWebPanel) return u;
    throw std::logic_error("the board has no web panel unit");
}

WebPanel* LivePanel() {
    auto* o = reinterpret_cast<base::UnitObject*>(ServiceEntry(base::kFindObject, ids::kBoardWindow, ids::kWebPanel));
    return o ? dynamic_cast<WebPanel*>(static_cast<base::Component*>(o)) : nullptr;
}

std::wstring LocationOf(IWebBrowser2& b) {
    BSTR s = nullptr;
    std::wstring out = FAILED(b.get_LocationURL(&s)) ? L"(failed)" : s ? std::wstring(s, SysStringLen(s)) : L"";
    SysFreeString(s);
    return out;
}

bool SystemControlCreatable() {
    ComPtr<IUnknown> probe;
    return SUCCEEDED(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                      probe.put_void()));
}

// A plain top-level window to put panels in, the board's client size.
class TestParent {
public:
    TestParent() {
        static const ATOM cls = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "WebTestParent";
            return RegisterClassA(&wc);
        }();
        (void)cls;
        h_ = CreateWindowExA(0, "WebTestParent", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 394, 571, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestParent() {
        if (IsWindow(h_)) DestroyWindow(h_);
    }
    TestParent(const TestParent&) = delete;
    TestParent& operator=(const TestParent&) = delete;
    HWND get() const { return h_; }

private:
    HWND h_;
};

// A window inside the host that stands in for the control's own window and
// writes down the keys that reach it.
class InnerWindow {
public:
    explicit InnerWindow(HWND host) {
        static const ATOM cls = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "WebTestInner";
            return RegisterClassA(&wc);
        }();
        (void)cls;
        h_ = CreateWindowExA(0, "WebTestInner", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(h_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&keys));
    }
    HWND get() const { return h_; }
    std::vector<WPARAM> keys;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_KEYDOWN)
            if (auto* k = reinterpret_cast<std::vector<WPARAM>*>(GetWindowLongPtrA(h, GWLP_USERDATA)))
                k->push_back(wp);
        return DefWindowProcA(h, m, wp, lp);
    }
    HWND h_;
};

// ---- the panel with a stand-in control -------------------------------------

class WebPanelCalls : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureShell(); }

    // A panel from `unit` in the test parent, its control the fake.
    std::shared_ptr<WebPanel> Make(const base::UnitState& unit) {
        return WebPanel::CreateWith(base::CreateContext{parent_.get(), ids::kBoardWindow, unit}, [this](HWND host) {
            factory_host_ = host;
            return ComPtr<IWebBrowser2>(&fake_);
        });
    }
    std::shared_ptr<WebPanel> MakeBoardPanel() { return Make(BoardPanelUnit()); }

    TestParent parent_;
    FakeBrowser fake_;
    HWND factory_host_ = nullptr;
};

TEST_F(WebPanelCalls, CreationAppliesTheStoredSettingsInOrderWithoutNavigating) {
    auto p = MakeBoardPanel();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(factory_host_, p->hwnd()) << "the control is made inside the host";
    EXPECT_EQ(fake_.calls, (std::vector<std::wstring>{L"put_Offline(false)", L"put_Silent(false)", kZoomDefault}))
        << "the board's stored address is empty: no navigation until the program sets one";
    EXPECT_EQ(p->GetProperty(web::kPropTextSize), base::PropertyValue(2));
    EXPECT_EQ(p->GetProperty(web::kPropUrl), base::PropertyValue(std::string()));
}

TEST_F(WebPanelCalls, StoredAddressAndSettingsAreSentAtCreation) {
    static constexpr auto kBlock = web::HtmlViewerBlock(9, true, true, "http://127.0.0.1:8000/音效/00.html");
    static const base::UnitDef kDef{base::Kind::HtmlViewer, 0x16017777, "网页", 20, 30, 200, 100,
                                    base::kTabStop | base::kDisabled, base::Action::None, kBlock};
    const base::UnitState unit{&kDef, 20, 30, 200, 100, "", kDef.flags};
    auto p = Make(unit);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(fake_.calls, (std::vector<std::wstring>{
                               L"put_Offline(true)", L"put_Silent(true)", L"ExecWB(19, 2, I4:4, null)",
                               L"Navigate(\"http://127.0.0.1:8000/音效/00.html\", flags=I4:0, target=BSTR:\"\", "
                               L"post=EMPTY, headers=BSTR:\"\")"}));
    // The host follows the unit: place, size, identifier, flags.
    EXPECT_EQ(Text(RectIn(p->hwnd(), parent_.get())), Text(RECT{20, 30, 220, 130}));
    EXPECT_EQ(GetDlgCtrlID(p->hwnd()), 0x16017777);
    const LONG style = GetWindowLongA(p->hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_DISABLED);
    EXPECT_TRUE(style & WS_TABSTOP);
    EXPECT_FALSE(style & WS_VISIBLE) << "created hidden; the loader shows it";
}

TEST_F(WebPanelCalls, AddressWriteNavigatesAtOnceWithUtf16FromGbk) {
    auto p = MakeBoardPanel();
    ASSERT_NE(p, nullptr);
    fake_.calls.clear();
    EXPECT_TRUE(p->SetProperty(web::kPropUrl, std::string("http://127.0.0.1:8000/00.html")));
    EXPECT_EQ(fake_.calls, (std::vector<std::wstring>{L"Navigate(\"http://127.0.0.1:8000/00.html\", flags=I4:0, "
                                                      L"target=BSTR:\"\", post=EMPTY, headers=BSTR:\"\")"}));
    // A second write starts a new navigation; GBK text arrives as the same characters.
    EXPECT_TRUE(p->SetProperty(web::kPropUrl, std::string("http://例子.中国/音效板/00.html")));
    ASSERT_EQ(fake_.CallsTo(L"Navigate").size(), 2u);
    EXPECT_EQ(fake_.CallsTo(L"Navigate")[1],
              L"Navigate(\"http://例子.中国/音效板/00.html\", flags=I4:0, target=BSTR:\"\", post=EMPTY, "
              L"headers=BSTR:\"\")");
    EXPECT_EQ(p->GetProperty(web::kPropUrl), base::PropertyValue(std::string("http://例子.中国/音效板/00.html")));
    // A number is no address: refused, nothing sent, the stored one kept.
    EXPECT_FALSE(p->SetProperty(web::kPropUrl, 5));
    EXPECT_EQ(fake_.CallsTo(L"Navigate").size(), 2u);
}

TEST_F(WebPanelCalls, TextSizeIsClampedStoredAndSentAsZoom) {
    auto p = MakeBoardPanel();
    ASSERT_NE(p, nullptr);
    fake_.calls.clear();
    const std::pair<std::int32_t, std::int32_t> cases[] = {{7, 4}, {-1, 0}, {3, 3}, {4, 4}, {0, 0},
                                                           {INT32_MIN, 0}, {INT32_MAX, 4}};
    std::vector<std::wstring> expected;
    for (const auto& [written, kept] : cases) {
        EXPECT_TRUE(p->SetProperty(web::kPropTextSize, written));
        EXPECT_EQ(p->GetProperty(web::kPropTextSize), base::PropertyValue(kept)) << "written " << written;
        expected.push_back(L"ExecWB(19, 2, I4:" + std::to_wstring(kept) + L", null)");
    }
    EXPECT_EQ(fake_.calls, expected);
    EXPECT_FALSE(p->SetProperty(web::kPropTextSize, std::string("4")));
    EXPECT_EQ(fake_.calls.size(), expected.size());
}

TEST_F(WebPanelCalls, OfflineAndSilentFollowEveryWrite) {
    auto p = MakeBoardPanel();
    ASSERT_NE(p, nullptr);
    fake_.calls.clear();
    EXPECT_TRUE(p->SetProperty(web::kPropOffline, 5));
    EXPECT_EQ(p->GetProperty(web::kPropOffline), base::PropertyValue(1));
    EXPECT_TRUE(p->SetProperty(web::kPropSilent, -1));
    EXPECT_EQ(p->GetProperty(web::kPropSilent), base::PropertyValue(1));
    EXPECT_TRUE(p->SetProperty(web::kPropOffline, 0));
    EXPECT_EQ(p->GetProperty(web::kPropOffline), base::PropertyValue(0));
    EXPECT_TRUE(p->SetProperty(web::kPropSilent, 0));
    EXPECT_FALSE(p->SetProperty(web::kPropSilent, std::string("1")));
    EXPECT_EQ(fake_.calls, (std::vector<std::wstring>{L"put_Offline(true)", L"put_Silent(true)",
                                                      L"put_Offline(false)", L"put_Silent(false)"}));
}

TEST_F(WebPanelCalls, StatusTextAndCaptionComeFromTheControlAndAreReadOnly) {
    auto p = MakeBoardPanel();
    ASSERT_NE(p, nullptr);
    fake_.calls.clear();
    EXPECT_EQ(p->GetProperty(web::kPropStatusText), base::PropertyValue(std::string("状态")));
    EXPECT_EQ(p->GetProperty(web::kPropCaption), base::PropertyValue(std::string("标题")));
    EXPECT_EQ(fake_.calls, (std::vector<std::wstring>{L"get_StatusText()", L"get_LocationName()"}));
    fake_.calls.clear();
    EXPECT_FALSE(p->SetProperty(web::kPropStatusText, std::string("x")));
    EXPECT_FALSE(p->SetProperty(web::kPropCaption, std::string("x")));
    // The design-time preview switch: reads off, a write changes nothing.
    EXPECT_TRUE(p->SetProperty(web::kPropPreview, 1));
    EXPECT_EQ(p->GetProperty(web::kPropPreview), base::PropertyValue(0));
    EXPECT_TRUE(fake_.calls.empty());
    EXPECT_FALSE(p->SetProperty(15, 1));
    EXPECT_EQ(p->GetProperty(15), std::nullopt);
    EXPECT_EQ(p->GetProperty(kPropLeft), std::nullopt) << "common properties are the shell's";
}

TEST_F(WebPanelCalls, NoControlMeansNoPanelAndNoHostLeftBehind) {
    HWND seen = nullptr;
    auto p = WebPanel::CreateWith(base::CreateContext{parent_.get(), ids::kBoardWindow, BoardPanelUnit()},
                                  [&](HWND host) {
                                      seen = host;
                                      EXPECT_EQ(Text(RectIn(host, parent_.get())), Text(kPanelOnBoard));
                                      return ComPtr<IWebBrowser2>();
                                  });
    EXPECT_EQ(p, nullptr);
    ASSERT_NE(seen, nullptr) << "the host existed when the control was asked for";
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(ChildCount(parent_.get()), 0);
}

TEST_F(WebPanelCalls, TheHostWindowTakesItsControlWithIt) {
    auto p = MakeBoardPanel();
    ASSERT_NE(p, nullptr);
    EXPECT_GT(fake_.refs(), 1u);
    DestroyWindow(p->hwnd());
    EXPECT_EQ(fake_.refs(), 1u) << "every reference the panel took is given back";
    EXPECT_EQ(p->browser(), nullptr);
    EXPECT_EQ(p->hwnd(), nullptr);
    // With the control gone, reads answer from the stored values and writes only store.
    EXPECT_EQ(p->GetProperty(web::kPropStatusText), base::PropertyValue(std::string()));
    fake_.calls.clear();
    EXPECT_TRUE(p->SetProperty(web::kPropUrl, std::string("http://127.0.0.1:8000/00.html")));
    EXPECT_TRUE(fake_.calls.empty());

    // Dropping the component first takes the host and the control with it too.
    auto q = MakeBoardPanel();
    ASSERT_NE(q, nullptr);
    HWND host = q->hwnd();
    q.reset();
    EXPECT_FALSE(IsWindow(host));
    EXPECT_EQ(fake_.refs(), 1u);
}

TEST_F(WebPanelCalls, KeysInsideTheControlReachItsAcceleratorsFirst) {
    auto p = MakeBoardPanel();
    ASSERT_NE(p, nullptr);
    InnerWindow inner(p->hwnd());
    fake_.takes_keys = {VK_TAB};
    fake_.calls.clear();
    PostMessageA(inner.get(), WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(inner.get(), WM_KEYDOWN, 'A', 0);
    PostMessageA(inner.get(), WM_LBUTTONDOWN, 0, 0);  // not a key: never offered
    wintest::PumpFor(50);
    // The key it leaves goes on as usual, and the character made from it is offered too.
    EXPECT_EQ(fake_.calls, (std::vector<std::wstring>{L"TranslateAccelerator(100, 9)", L"TranslateAccelerator(100, 41)",
                                                      L"TranslateAccelerator(102, 61)"}));
    EXPECT_EQ(inner.keys, std::vector<WPARAM>{'A'}) << "the key the control took is not dispatched again";

    // Keys for the board itself, or for the host while the control has no
    // focus, are the board's alone.
    fake_.calls.clear();
    PostMessageA(parent_.get(), WM_KEYDOWN, VK_TAB, 0);
    PostMessageA(p->hwnd(), WM_KEYDOWN, VK_TAB, 0);
    wintest::PumpFor(50);
    EXPECT_TRUE(fake_.calls.empty());
}

// ---- the system control (Wine's) ----------------------------------------

class WebPanelReal : public testing::Test {
protected:
    static void SetUpTestSuite() { EnsureShell(); }
    void SetUp() override {
        // Wine always has its control, engine or not: its absence is a fault here.
        ASSERT_TRUE(SystemControlCreatable()) << "this system has no web-browser control to host";
    }
    void TearDown() override { wintest::ResetShell(); }

    // The board loaded as the start window's timer would, without the modal loop.
    WebPanel* LoadBoard() {
        LoadStartWindow(ids::kStartWindow);
        EXPECT_TRUE(LoadWindow(ids::kBoardWindow, 0, false));
        return LivePanel();
    }
};

TEST_F(WebPanelReal, BoardPanelHostsTheControlExactlyInItsPlace) {
    WebPanel* p = LoadBoard();
    ASSERT_NE(p, nullptr) << "the control is creatable here, so the panel must exist";
    ASSERT_NE(p->browser(), nullptr);
    HWND board = GetWindowHandle(ids::kBoardWindow);
    HWND host = p->hwnd();
    EXPECT_EQ(GetParent(host), board);
    EXPECT_EQ(GetDlgCtrlID(host), int(ids::kWebPanel));
    EXPECT_EQ(Text(RectIn(host, board)), Text(kPanelOnBoard));
    // Exactly client pixels 8..383 by 8..167: the corners are the panel's, one
    // pixel further out is not.
    for (POINT in : {POINT{8, 8}, POINT{383, 8}, POINT{8, 167}, POINT{383, 167}}) {
        EXPECT_EQ(ChildWindowFromPointEx(board, in, CWP_ALL), host) << in.x << "," << in.y;
    }
    for (POINT out : {POINT{7, 8}, POINT{8, 7}, POINT{384, 100}, POINT{100, 168}}) {
        EXPECT_NE(ChildWindowFromPointEx(board, out, CWP_ALL), host) << out.x << "," << out.y;
    }
    const LONG style = GetWindowLongA(host, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_DISABLED), WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrA(host, GCLP_HCURSOR)), LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(GetClassLongPtrA(host, GCLP_HBRBACKGROUND)), GetStockObject(WHITE_BRUSH));

    // The control's own window fills the host and carries number 0xE900.
    HWND control = GetDlgItem(host, web::kBrowserControlId);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control, web::BrowserWindow(p->browser()));
    EXPECT_EQ(ChildCount(host), 1);
    EXPECT_TRUE(IsWindowVisible(control));
    RECT client{};
    GetClientRect(host, &client);
    EXPECT_EQ(Text(RectIn(control, host)), Text(client));
    EXPECT_EQ(Text(client), Text(RECT{0, 0, 376, 160}));
}

TEST_F(WebPanelReal, BoardCreationPointsThePanelAtItsPage) {
    WebPanel* p = LoadBoard();
    ASSERT_NE(p, nullptr);
    ASSERT_NE(p->browser(), nullptr);
    // The page is the HTML resource of this very exe, named from its own path.
    wchar_t module[MAX_PATH * 4] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, module, DWORD(std::size(module))), 0u);
    const std::wstring want = L"res://" + std::wstring(module) + L"/00.html";
    const auto address = web::OwnPageAddress();
    ASSERT_TRUE(address);
    EXPECT_EQ(base::WideFromGbk(*address), want);
    EXPECT_EQ(p->GetProperty(web::kPropUrl), base::PropertyValue(*address));
    // Wine's control records the address it was told to load.
    EXPECT_EQ(LocationOf(*p->browser()), want);
    // A later write through the shell starts a new navigation; Wine takes it
    // up from its queue once the first one is under way.
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, kPropWebUrl,
                         std::string("http://127.0.0.1:9/other.html"));
    EXPECT_TRUE(wintest::PumpUntil(
        [&] { return LocationOf(*p->browser()) == L"http://127.0.0.1:9/other.html"; }, 3000))
        << LocationOf(*p->browser());
    EXPECT_EQ(p->GetProperty(web::kPropUrl), base::PropertyValue(std::string("http://127.0.0.1:9/other.html")));
}

TEST_F(WebPanelReal, SettingsReachTheControl) {
    WebPanel* p = LoadBoard();
    ASSERT_NE(p, nullptr);
    IWebBrowser2& b = *p->browser();
    VARIANT_BOOL v = 0x1234;
    ASSERT_HRESULT_SUCCEEDED(b.get_Offline(&v));
    EXPECT_EQ(v, VARIANT_FALSE) << "stored off, set off at creation";
    ASSERT_HRESULT_SUCCEEDED(b.get_Silent(&v));
    EXPECT_EQ(v, VARIANT_FALSE);
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, web::kPropOffline, 1);
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, web::kPropSilent, 1);
    ASSERT_HRESULT_SUCCEEDED(b.get_Offline(&v));
    EXPECT_EQ(v, VARIANT_TRUE);
    ASSERT_HRESULT_SUCCEEDED(b.get_Silent(&v));
    EXPECT_EQ(v, VARIANT_TRUE);
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, web::kPropOffline, 0);
    ASSERT_HRESULT_SUCCEEDED(b.get_Offline(&v));
    EXPECT_EQ(v, VARIANT_FALSE);
    // Without a page engine Wine refuses the zoom command; the size is kept and clamped all the same.
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, web::kPropTextSize, 12);
    EXPECT_EQ(p->GetProperty(web::kPropTextSize), base::PropertyValue(4));
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, web::kPropTextSize, -12);
    EXPECT_EQ(p->GetProperty(web::kPropTextSize), base::PropertyValue(0));
    // Status text and title are what the control itself reports (empty where it has none).
    const auto reported = [](HRESULT hr, BSTR s) {
        const std::string text = SUCCEEDED(hr) && s ? base::GbkFromWide(std::wstring(s, SysStringLen(s))) : "";
        SysFreeString(s);
        return base::PropertyValue(text);
    };
    BSTR s = nullptr;
    const HRESULT status_hr = b.get_StatusText(&s);
    EXPECT_EQ(p->GetProperty(web::kPropStatusText), reported(status_hr, s));
    s = nullptr;
    const HRESULT title_hr = b.get_LocationName(&s);
    EXPECT_EQ(p->GetProperty(web::kPropCaption), reported(title_hr, s));
}

TEST_F(WebPanelReal, ResizedHostRefitsTheControl) {
    WebPanel* p = LoadBoard();
    ASSERT_NE(p, nullptr);
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, kPropWidth, 300);
    SetComponentProperty(ids::kBoardWindow, ids::kWebPanel, kPropHeight, 90);
    EXPECT_EQ(Text(RectIn(GetDlgItem(p->hwnd(), web::kBrowserControlId), p->hwnd())), Text(RECT{0, 0, 300, 90}));
}

TEST_F(WebPanelReal, UnloadingTheBoardClosesAndDetachesTheControl) {
    WebPanel* p = LoadBoard();
    ASSERT_NE(p, nullptr);
    ComPtr<IWebBrowser2> kept(p->browser());
    HWND control = GetDlgItem(p->hwnd(), web::kBrowserControlId);
    auto ole = kept.As<IOleObject>();
    ASSERT_TRUE(ole);
    ComPtr<IOleClientSite> site;
    ASSERT_HRESULT_SUCCEEDED(ole->GetClientSite(site.put()));
    EXPECT_TRUE(site) << "attached to the panel's site while the board lives";
    site.reset();

    UnloadWindow(ids::kBoardWindow, true);
    EXPECT_FALSE(IsWindow(control));
    ASSERT_HRESULT_SUCCEEDED(ole->GetClientSite(site.put()));
    EXPECT_FALSE(site) << "the panel let go of the control when its host went";
}

// The keys as the shell's loop hands them to the dialog manager.
HWND TabFrom(HWND board, HWND from, UINT key = VK_TAB) {
    SetFocus(from);
    MSG m{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    EXPECT_TRUE(IsDialogMessageA(board, &m));
    return GetFocus();
}

TEST_F(WebPanelReal, PanelTakesItsTurnInTheTabOrderAndEscStillCloses) {
    WebPanel* p = LoadBoard();
    ASSERT_NE(p, nullptr);
    HWND board = GetWindowHandle(ids::kBoardWindow);
    HWND control = GetDlgItem(p->hwnd(), web::kBrowserControlId);
    // Focus given to the host goes on to the control inside it.
    SetFocus(p->hwnd());
    EXPECT_EQ(GetFocus(), control);
    // Tab order is creation order: the panel comes first, after the last
    // button (超级按钮1), and the first button (超级按钮38) follows it.
    EXPECT_EQ(TabFrom(board, GetWindowHandle(ids::kBoardWindow, 0x160100BB)), control);
    EXPECT_EQ(TabFrom(board, control), GetWindowHandle(ids::kBoardWindow, 0x16010143));
    // Esc with the focus in the control closes the board as anywhere else.
    TabFrom(board, control, VK_ESCAPE);
    EXPECT_FALSE(IsWindow(board));
}

// ---- the real creation path refused -----------------------------------------

TEST_F(WebPanelCalls, RefusedControlLeavesNoHostAndNoPanel) {
    webtest::ClassOverride refuse(CLSID_WebBrowser, nullptr);
    ASSERT_TRUE(refuse.registered());
    auto p = WebPanel::Create(base::CreateContext{parent_.get(), ids::kBoardWindow, BoardPanelUnit()});
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(refuse.creations, 1);
    EXPECT_EQ(ChildCount(parent_.get()), 0);
}

TEST_F(WebPanelCalls, ObjectThatIsNoBrowserIsReleasedUntouched) {
    webtest::PlainOleObject plain;
    {
        webtest::ClassOverride hand_out(CLSID_WebBrowser, &plain);
        ASSERT_TRUE(hand_out.registered());
        EXPECT_EQ(WebPanel::Create(base::CreateContext{parent_.get(), ids::kBoardWindow, BoardPanelUnit()}), nullptr);
        EXPECT_EQ(hand_out.creations, 1);
    }
    EXPECT_EQ(plain.refs(), 1u) << "every reference given back";
    EXPECT_EQ(plain.client_site_calls, 0);
    EXPECT_EQ(plain.do_verb_calls, 0) << "never placed in the host";
    EXPECT_EQ(ChildCount(parent_.get()), 0);
}

TEST_F(WebPanelCalls, UnknownClassEmbedsNothing) {
    static const CLSID kNoSuchClass = {0x5eb0a8d1, 0x2c4b, 0x4f3e, {0x9a, 0x61, 0x13, 0x37, 0x00, 0x42, 0xbe, 0xef}};
    HWND host = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 50, 50, parent_.get(), nullptr, nullptr, nullptr);
    EXPECT_FALSE(web::EmbedBrowser(host, kNoSuchClass));
    EXPECT_EQ(ChildCount(host), 0);
    EXPECT_FALSE(web::EmbedBrowser(nullptr));
}

BOOL CALLBACK FindOwnBox(HWND h, LPARAM l) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    char cls[16] = {};
    if (pid == GetCurrentProcessId() && IsWindowVisible(h) && GetClassNameA(h, cls, 16) &&
        lstrcmpA(cls, "#32770") == 0) {
        *reinterpret_cast<HWND*>(l) = h;
        return FALSE;
    }
    return TRUE;
}

// Closes any message box this process shows, printing its text, so that a
// fatal error ends the process with -1 instead of waiting forever.
void CloseMessageBoxes() {
    std::thread([] {
        for (;;) {
            HWND box = nullptr;
            EnumWindows(FindOwnBox, reinterpret_cast<LPARAM>(&box));
            if (box) {
                wchar_t text[512] = {};
                char utf8[1536] = {};
                GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 512);
                WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
                std::fprintf(stderr, "message box: %s\n", utf8);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(50);
        }
    }).detach();
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    ExitProcess(2);
}

// The whole program path with the system control refused: the loader leaves
// the panel out, the board's created action still runs, the board works.
[[noreturn]] void BoardWithoutTheControl() {
    CloseMessageBoxes();
    InitShell();
    webtest::ClassOverride refuse(CLSID_WebBrowser, nullptr);
    if (!refuse.registered()) Fail("could not stand in for the control's class");
    LoadStartWindow(ids::kStartWindow);
    if (!LoadWindow(ids::kBoardWindow, 0, false)) Fail("the board did not load");
    HWND board = GetWindowHandle(ids::kBoardWindow);
    if (refuse.creations != 1) Fail("the panel did not ask for the control");
    if (LivePanel()) Fail("a panel exists without a control");
    if (FindWindowExA(board, nullptr, "SoundBoardWebHost", nullptr)) Fail("a host window was left on the board");
    int buttons = 0;
    for (HWND c = GetWindow(board, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[16] = {};
        GetClassNameA(c, cls, 16);
        if (lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(c) && IsWindowEnabled(c)) {
            ++buttons;
            SendMessageA(c, BM_CLICK, 0, 0);
        }
    }
    if (buttons != 44) Fail("the board does not have its 44 usable buttons");
    wintest::PumpFor(100);
    if (!IsWindow(board)) Fail("the board went away");
    SendMessageA(board, WM_CLOSE, 0, 0);
    if (IsWindow(board)) Fail("the board did not close");
    ExitProcess(0);
}

TEST(WebPanelFallback, BoardWorksWithoutTheControl) {
    EXPECT_EXIT(BoardWithoutTheControl(), testing::ExitedWithCode(0), "");
}

// A file in a fresh folder of the given name under the temporary folder,
// removed with the object.
struct FileInFolder {
    std::wstring folder, file;
    explicit FileInFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + name;
        file = folder + L"\\sb.exe";
        CreateDirectoryW(folder.c_str(), nullptr);
        HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    ~FileInFolder() {
        DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }
};

TEST(WebPageFolders, APathGbkCannotHoldOrTheAddressCannotCarryGoesByItsShortFormOrName) {
    {
        const FileInFolder chinese(L"我的 音效板");
        EXPECT_EQ(web::PageAddressOf(chinese.file), "res://" + base::GbkFromWide(chinese.file) + "/00.html");
    }
    for (const wchar_t* name : {L"Bj\u00f6rn", L"\ud55c\uad6d\uc5b4 \ud3f4\ub354", L"\u0e17\u0e14\u0e2a\u0e2d\u0e1a",
                                L"100% #1"}) {
        const FileInFolder f(name);
        const auto address = web::PageAddressOf(f.file);
        ASSERT_TRUE(address) << base::GbkFromWide(name);
        const std::string prefix = "res://", suffix = "/00.html";
        ASSERT_GT(address->size(), prefix.size() + suffix.size());
        const std::string path = address->substr(prefix.size(), address->size() - prefix.size() - suffix.size());
        EXPECT_EQ(path.find_first_of("%#?"), std::string::npos) << *address;
        if (path == "sb.exe") continue;  // the bare name: no short form here
        // Otherwise a short form that names the very same file.
        wchar_t long_form[MAX_PATH * 2] = {};
        ASSERT_GT(GetLongPathNameW(base::WideFromGbk(path).c_str(), long_form, DWORD(std::size(long_form))), 0u) << path;
        EXPECT_EQ(CompareStringOrdinal(long_form, -1, f.file.c_str(), -1, TRUE), CSTR_EQUAL) << path;
    }
}

}  // namespace
