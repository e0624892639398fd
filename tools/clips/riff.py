"""Writes and reads the clips' RIFF/WAVE containers (standard library only)."""

import random
import struct

MP3_CODEC_DELAY = 1393      # decoder start-up delay in samples, as Layer-3 WAV writers put it
MP3_FRAME_BYTES = 96        # MPEG-2 Layer III, 24 kHz, 32 kbit/s, no padding
MP3_FRAME_SAMPLES = 576


def fmt_body(fmt, size):
    if fmt.kind == "mp3":
        assert size == 30
        return struct.pack("<HHIIHHHHIHHH", 0x0055, fmt.channels, fmt.rate, fmt.avg_bytes,
                           1, 0, 12,
                           1,                  # MPEGLAYER3_ID_MPEG
                           2,                  # MPEGLAYER3_FLAG_PADDING_OFF
                           MP3_FRAME_BYTES, 1, MP3_CODEC_DELAY)
    body = struct.pack("<HHIIHH", 1, fmt.channels, fmt.rate, fmt.avg_bytes,
                       fmt.block_align, fmt.bits)
    if size == 18:
        body += struct.pack("<H", 0)           # cbSize: no extra bytes
    assert len(body) == size
    return body


def _info_sub(cid, text, size=None):
    raw = text.encode("gbk") + b"\0"
    if size is None:
        size = len(raw)
    assert size >= len(raw), (cid, text, size)
    raw = raw.ljust(size, b"\0")
    return cid.encode("ascii") + struct.pack("<I", size) + raw + (b"\0" if size & 1 else b"")


def list_info_body(size, title, software):
    """An INFO list of exactly `size` body bytes: INAM, then ISFT filling the rest."""
    head = b"INFO" + _info_sub("INAM", title)
    rest = size - len(head) - 8
    body = head + _info_sub("ISFT", software, rest)
    assert len(body) == size
    return body


def cue_body(size, positions):
    body = struct.pack("<I", len(positions))
    for i, pos in enumerate(positions, 1):
        body += struct.pack("<II4sIII", i, pos, b"data", 0, 0, pos)
    assert len(body) == size
    return body


def _syncsafe(n):
    return bytes(((n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F))


def _id3_text_frame(fid, text):
    if all(ord(ch) < 128 for ch in text):
        payload = b"\0" + text.encode("latin-1")
    else:
        payload = b"\x01" + "\ufeff".encode("utf-16-le") + text.encode("utf-16-le")
    return fid.encode("ascii") + struct.pack(">I", len(payload)) + b"\0\0" + payload


def id3_body(size, title, album, software):
    """An ID3v2.3 tag of exactly `size` bytes, the remainder being padding."""
    frames = (_id3_text_frame("TIT2", title) + _id3_text_frame("TALB", album)
              + _id3_text_frame("TSSE", software))
    tag_size = size - 10
    assert len(frames) <= tag_size
    body = b"ID3\x03\x00\x00" + _syncsafe(tag_size) + frames.ljust(tag_size, b"\0")
    assert len(body) == size
    return body


def bext_body(size, description, originator, reference, history):
    fixed = struct.pack("<256s32s32s10s8sIIH64s190s",
                        description.encode("ascii"), originator.encode("ascii"),
                        reference.encode("ascii"), b"2009-06-01", b"12:00:00",
                        0, 0, 1, b"", b"")
    assert len(fixed) == 602
    hist = history.encode("ascii")
    assert len(fixed) + len(hist) <= size
    body = fixed + hist.ljust(size - len(fixed), b"\0")
    return body


def chunk(cid, body, declared=None, pad=True):
    size = len(body) if declared is None else declared
    out = cid.encode("ascii") + struct.pack("<I", size) + body
    if pad and len(body) & 1:
        out += b"\0"
    return out


def build(clip, data, bodies):
    """Lays out `clip` with its audio `data` and the other chunks' `bodies` by id."""
    assert len(data) == clip.data_bytes, (clip.name, len(data), clip.data_bytes)
    parts = []
    for c in clip.chunks:
        body = data if c.cid == "data" else bodies[c.cid]
        assert len(body) == c.size, (clip.name, c.cid, len(body), c.size)
        parts.append(chunk(c.cid, body, pad=c.pad))
    payload = b"WAVE" + b"".join(parts)
    out = b"RIFF" + struct.pack("<I", clip.riff_size()) + payload
    if clip.trailer:
        rng = random.Random("trailer:" + clip.name)
        out += bytes(rng.randrange(256) for _ in range(clip.trailer))
    assert len(out) == clip.file_bytes, (clip.name, len(out), clip.file_bytes)
    return out


# ---- reading -------------------------------------------------------------

class Parsed:
    def __init__(self):
        self.riff_size = 0
        self.chunks = []       # (id, offset of header, declared size, padded)
        self.fmt = {}
        self.data = b""
        self.data_offset = 0
        self.trailing = 0      # bytes after the last whole chunk


def parse(blob):
    """Walks the chunks the way a tolerant player does: by the file's real length."""
    if blob[:4] != b"RIFF" or blob[8:12] != b"WAVE":
        raise ValueError("not a RIFF/WAVE file")
    p = Parsed()
    p.riff_size = struct.unpack_from("<I", blob, 4)[0]
    pos = 12
    while pos + 8 <= len(blob):
        cid = blob[pos:pos + 4]
        if not all(32 <= b < 127 for b in cid):
            break
        size = struct.unpack_from("<I", blob, pos + 4)[0]
        if pos + 8 + size > len(blob):
            break
        cid = cid.decode("ascii")
        padded = bool(size & 1) and pos + 8 + size < len(blob)
        p.chunks.append((cid, pos, size, padded))
        body = blob[pos + 8:pos + 8 + size]
        if cid == "fmt ":
            tag, ch, rate, avg, align, bits = struct.unpack_from("<HHIIHH", body)
            p.fmt = dict(tag=tag, channels=ch, rate=rate, avg=avg, align=align, bits=bits,
                         size=size)
            if size >= 18:
                p.fmt["cbsize"] = struct.unpack_from("<H", body, 16)[0]
            if tag == 0x55 and size >= 30:
                (p.fmt["wID"], p.fmt["flags"], p.fmt["blocksize"], p.fmt["frames_per_block"],
                 p.fmt["codec_delay"]) = struct.unpack_from("<HIHHH", body, 18)
        elif cid == "data":
            p.data = body
            p.data_offset = pos + 8
        pos += 8 + size + (size & 1)
    p.trailing = max(0, len(blob) - pos)
    return p


def mp3_frames(stream):
    """Splits an MPEG audio stream into frames by their headers (skips a leading ID3v2)."""
    pos = 0
    if stream[:3] == b"ID3":
        pos = 10 + sum(b << (7 * (3 - i)) for i, b in enumerate(stream[6:10]))
    frames = []
    while pos + 4 <= len(stream):
        h = struct.unpack_from(">I", stream, pos)[0]
        if h >> 21 != 0x7FF:
            break
        version = (h >> 19) & 3        # 2 = MPEG-2
        layer = (h >> 17) & 3          # 1 = Layer III
        br_idx = (h >> 12) & 15
        sr_idx = (h >> 10) & 3
        padding = (h >> 9) & 1
        if version != 2 or layer != 1:
            raise ValueError("unexpected MPEG frame at %d: %08x" % (pos, h))
        bitrate = (0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160)[br_idx] * 1000
        rate = (22050, 24000, 16000)[sr_idx]
        size = 72 * bitrate // rate + padding
        if pos + size > len(stream):
            break
        frames.append(stream[pos:pos + size])
        pos += size
    return frames


def mp3_header_fields(frame):
    h = struct.unpack_from(">I", frame)[0]
    return dict(version=(h >> 19) & 3, layer=(h >> 17) & 3, crc_off=(h >> 16) & 1,
                br_idx=(h >> 12) & 15, sr_idx=(h >> 10) & 3, padding=(h >> 9) & 1,
                mode=(h >> 6) & 3)
