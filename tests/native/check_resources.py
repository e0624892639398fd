"""What a user's Windows sees of the exe before it runs: its page, its
version information, its manifest, and the DLLs it needs. Runs on Linux."""
import argparse
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from pe_resources import Pe, PeError, version_strings  # noqa: E402

RT_VERSION, RT_HTML, RT_MANIFEST = 16, 23, 24
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  # Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  # Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  # Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  # Windows 10 and 11
}
# What every Windows has: the exe is static and needs nothing else.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "ole32.dll", "oleaut32.dll", "msvcrt.dll",
               "advapi32.dll", "shell32.dll", "comdlg32.dll", "version.dll"}

failures = []


def check(ok, what, detail=""):
    print(("ok   " if ok else "FAIL ") + what + (f": {detail}" if detail and not ok else ""))
    if not ok:
        failures.append(what)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--exe", required=True)
    ap.add_argument("--page", required=True)
    args = ap.parse_args()
    try:
        pe = Pe(Path(args.exe).read_bytes())
        res = pe.resources()
    except (OSError, PeError) as e:
        print(f"FAIL cannot read {args.exe}: {e}")
        return 1

    page = res.get((RT_HTML, "00.HTML"))
    check(page is not None, "the page is an HTML resource named 00.html")
    check(page == Path(args.page).read_bytes(), "the page resource equals web/00.html byte for byte")

    version = res.get((RT_VERSION, 1))
    check(version is not None, "a VERSIONINFO resource")
    if version:
        file_v, product_v, strings = version_strings(version)
        check(file_v == (1, 0, 0, 0) and product_v == (1, 0, 0, 0), "file and product version 1.0.0.0",
              f"{file_v} {product_v}")
        want = {"ProductName": "直播音效板", "FileDescription": "直播音效板", "CompanyName": "晨声工作室",
                "OriginalFilename": "soundboard.exe", "FileVersion": "1.0.0.0", "ProductVersion": "1.0.0.0"}
        for key, value in want.items():
            check(strings.get(key) == value, f"version string {key} = {value}", strings.get(key))
        check("2026" in strings.get("LegalCopyright", ""), "the copyright names the year of the title line",
              strings.get("LegalCopyright"))

    manifest = res.get((RT_MANIFEST, 1))
    check(manifest is not None, "an application manifest (id 1)")
    if manifest:
        root = ET.fromstring(manifest)
        levels = [e.get("level") for e in root.iter() if e.tag.endswith("requestedExecutionLevel")]
        check(levels == ["asInvoker"], "runs as the invoker", levels)
        oses = {e.get("Id").lower() for e in root.iter() if e.tag.endswith("supportedOS")}
        check(oses == SUPPORTED_OS, "supportedOS: Windows 7, 8, 8.1 and 10/11", oses)
        dpi = {e.tag.split("}")[1]: e.text for e in root.iter() if e.tag.endswith(("dpiAware", "dpiAwareness"))}
        check(dpi == {"dpiAware": "false", "dpiAwareness": "unaware"}, "DPI: unaware, scaled by the system", dpi)

    dlls = pe.imported_dlls()
    check(set(dlls) <= SYSTEM_DLLS, "imports only Windows' own DLLs", sorted(set(dlls) - SYSTEM_DLLS))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
