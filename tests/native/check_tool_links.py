"""soundplay links only what it uses: none of the board's built-in clips
(they are the board's, and 20 MB), which soundboard.exe does carry."""
import argparse
import sys
from pathlib import Path


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tool", required=True)
    ap.add_argument("--board", required=True)
    ap.add_argument("--clips", required=True)
    args = ap.parse_args()
    tool, board = Path(args.tool).read_bytes(), Path(args.board).read_bytes()
    clips = sorted(Path(args.clips).glob("*.wav"))
    if not clips:
        print(f"FAIL no clips in {args.clips}")
        return 1
    # A slice from the middle of each clip: samples, not headers.
    slices = {c.name: c.read_bytes()[len(c.read_bytes()) // 2:][:256] for c in clips}
    in_board = [n for n, s in slices.items() if s in board]
    in_tool = [n for n, s in slices.items() if s in tool]
    print(f"soundplay.exe: {len(tool):,} bytes, {len(in_tool)} of {len(clips)} clips in it")
    print(f"soundboard.exe: {len(board):,} bytes, {len(in_board)} of {len(clips)} clips in it")
    ok = len(in_board) == len(clips) and not in_tool
    print(("ok   " if ok else "FAIL ") + "the clips are in the board and not in the tool")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
