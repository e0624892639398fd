"""The panel's page fits the 376 x 160 panel without scroll bars, at 100 %
and at 150 % text size. Chromium (Debian's) stands in for the browser
control's engine: not the same engine, but an overflow here is a real one."""
import argparse
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

PANEL = (376, 160)
WRAPPER = """<!DOCTYPE html><html><body style="margin:0">
<iframe id="f" src="{page}" width="{w}" height="{h}" style="border:0"></iframe>
<pre id="out"></pre>
<script>
document.getElementById("f").onload = function () {{
  var d = this.contentDocument, out = [];
  [1, 1.5].forEach(function (zoom) {{
    d.documentElement.style.zoom = zoom;
    var e = d.scrollingElement || d.documentElement;
    out.push("zoom=" + zoom + " scroll=" + e.scrollWidth + "x" + e.scrollHeight +
             " client=" + e.clientWidth + "x" + e.clientHeight);
  }});
  document.getElementById("out").textContent = out.join("\\n");
}};
</script></body></html>"""


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--page", required=True)
    args = ap.parse_args()
    browser = shutil.which("chromium")
    if not browser:
        print("FAIL chromium is not installed (tools/env.sh installs it)")
        return 1
    with tempfile.TemporaryDirectory() as tmp:
        page = Path(tmp) / "00.html"
        shutil.copyfile(args.page, page)
        wrapper = Path(tmp) / "wrapper.html"
        wrapper.write_text(WRAPPER.format(page=page.name, w=PANEL[0], h=PANEL[1]), encoding="utf-8")
        out = subprocess.run([browser, "--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                              "--disable-background-networking", "--disable-component-update", "--disable-sync",
                              f"--user-data-dir={tmp}/profile", "--allow-file-access-from-files",
                              "--virtual-time-budget=3000", "--dump-dom", wrapper.as_uri()],
                             capture_output=True, text=True, timeout=120).stdout
    rows = re.findall(r"zoom=([\d.]+) scroll=(\d+)x(\d+) client=(\d+)x(\d+)", out)
    if len(rows) != 2:
        print(f"FAIL the page was not measured: {out[-500:]!r}")
        return 1
    ok = True
    for zoom, sw, sh, cw, ch in rows:
        fits = int(sw) <= int(cw) and int(sh) <= int(ch)
        ok &= fits
        print(f"{'ok  ' if fits else 'FAIL'} text size {float(zoom) * 100:.0f} %: content {sw} x {sh} "
              f"in {cw} x {ch}")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
