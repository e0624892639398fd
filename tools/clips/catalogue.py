"""The clip table: what each file holds and exactly how its RIFF is laid out.

The player walks chunks, so several clips are deliberately laid out the way
real-world WAV files out there are: an 18- or 30-byte "fmt ", chunks before
and after "data", odd data lengths with and without a pad byte, a RIFF size
that counts the whole file, and junk past the declared end.  Every byte is
accounted for here; make_clips.py asserts the sums.
"""

from dataclasses import dataclass

TOTAL_BYTES = 20_736_971


@dataclass(frozen=True)
class Fmt:
    kind: str          # "pcm" or "mp3"
    channels: int
    rate: int
    bits: int          # 8/16 for PCM, 0 for MP3

    @property
    def block_align(self):
        return 1 if self.kind == "mp3" else self.channels * self.bits // 8

    @property
    def avg_bytes(self):
        return 4000 if self.kind == "mp3" else self.rate * self.block_align

    def label(self):
        if self.kind == "mp3":
            return "MP3"
        return "PCM%d" % self.bits


def pcm(bits, channels, rate):
    return Fmt("pcm", channels, rate, bits)


MP3 = Fmt("mp3", 1, 24000, 0)


@dataclass(frozen=True)
class Chunk:
    cid: str           # four-character id
    size: int          # body bytes, as written in the size field
    pad: bool = True   # odd bodies get a pad byte unless the file ends without one


@dataclass(frozen=True)
class Clip:
    name: str          # file stem
    button: int        # 0 for the start-up sound
    caption: str
    meaning: str
    fmt: Fmt
    file_bytes: int
    data_bytes: int
    chunks: tuple      # in file order, after "RIFF....WAVE"
    riff_size_is_file: bool = False   # size field = whole file length
    trailer: int = 0                  # bytes after the declared RIFF end

    @property
    def data_chunk(self):
        return next(c for c in self.chunks if c.cid == "data")

    def laid_out_bytes(self):
        n = 12
        for c in self.chunks:
            n += 8 + c.size + (c.size & 1 if c.pad else 0)
        return n + self.trailer

    def riff_size(self):
        if self.riff_size_is_file:
            return self.file_bytes
        return self.file_bytes - self.trailer - 8

    @property
    def frames(self):
        if self.fmt.kind == "mp3":
            return self.data_bytes // 96 * 576
        return self.data_bytes // self.fmt.block_align

    @property
    def seconds(self):
        return self.data_bytes / self.fmt.avg_bytes


def _std(data, *after, before=(), fmt_size=16, **kw):
    chunks = (Chunk("fmt ", fmt_size),) + tuple(before) + (Chunk("data", data),) + tuple(after)
    return dict(chunks=chunks, **kw)


def LIST(n):
    return Chunk("LIST", n)


def _clip(name, button, caption, meaning, fmt, file_bytes, data_bytes, layout):
    return Clip(name, button, caption, meaning, fmt, file_bytes, data_bytes, **layout)


S44 = pcm(16, 2, 44100)
S22 = pcm(16, 2, 22050)
M22 = pcm(16, 1, 22050)

CLIPS = (
    _clip("button01", 1, "大众笑声", "crowd laughter", S44, 1644844, 1644800,
          _std(1644800, riff_size_is_file=True)),
    _clip("button02", 2, "男人奸笑", "man's sly laugh", S44, 834156, 834048,
          _std(834048, LIST(56))),
    _clip("button03", 3, "邪恶地笑", "evil laugh", S44, 511596, 511488,
          _std(511488, LIST(56))),
    _clip("button04", 4, "小孩哭笑", "child crying and laughing", S44, 999980, 999936,
          _std(999936)),
    _clip("button05", 5, "口哨声音", "whistle", M22, 28044, 28000, _std(28000)),
    _clip("button07", 7, "女生媚笑", "girl's coquettish laugh", M22, 42112, 41986,
          _std(41986, LIST(72), fmt_size=18)),
    _clip("button08", 8, "女生尖叫", "girl's scream", M22, 129580, 129536, _std(129536)),
    _clip("button09", 9, "接吻声音", "kiss", S44, 23084, 23040, _std(23040)),
    _clip("button10", 10, "女人砍刀", "woman with a chopper", S22, 177000, 176400,
          _std(176400, LIST(80), before=(Chunk("JUNK", 458),), fmt_size=18)),
    _clip("button11", 11, "机枪枪毙", "machine-gun execution", M22, 62716, 62672, _std(62672)),
    _clip("button12", 12, "送去医院", "send to hospital", pcm(8, 1, 22050), 170028, 169984,
          _std(169984)),
    _clip("button13", 13, "撒娇摇头", "coy head-shaking", pcm(16, 1, 44100), 202868, 202824,
          _std(202824)),
    _clip("button14", 14, "笑声鼓掌", "laughter and applause", S22, 699948, 699904,
          _std(699904)),
    _clip("button15", 15, "尖叫鼓掌", "screams and applause", S22, 588332, 588288,
          _std(588288)),
    _clip("button16", 16, "稍微鼓掌", "light applause", S44, 658844, 658800,
          _std(658800, riff_size_is_file=True)),
    _clip("button17", 17, "正常鼓掌", "normal applause", S22, 744492, 744448, _std(744448)),
    _clip("button18", 18, "我鄙视你", "I despise you", S44, 538844, 538800,
          _std(538800, riff_size_is_file=True)),
    _clip("button19", 19, "震撼屁声", "shattering fart", S44, 152044, 152000,
          _std(152000, riff_size_is_file=True)),
    _clip("button20", 20, "做人厚道", "be a decent person", S44, 354844, 354800,
          _std(354800, riff_size_is_file=True)),
    _clip("button21", 21, "乌鸦飞过", "crow flying past", S44, 364044, 364000,
          _std(364000, riff_size_is_file=True)),
    _clip("button22", 22, "手枪声音", "pistol shot", S44, 414444, 414400,
          _std(414400, riff_size_is_file=True)),
    _clip("button23", 23, "心跳声音", "heartbeat", pcm(8, 1, 11025), 37742, 37697,
          _std(37697)),                                   # odd data, pad byte follows
    _clip("button24", 24, "Karvon笑", "Karvon's laugh", S44, 622044, 622000,
          _std(622000, riff_size_is_file=True)),
    _clip("button25", 25, "打碎玻璃", "breaking glass", S44, 1138044, 1138000,
          _std(1138000, riff_size_is_file=True)),
    _clip("button26", 26, "猪快出来", "pig, come out", MP3, 15526, 15456,
          _std(15456, Chunk("fact", 4), fmt_size=30)),
    _clip("button27", 27, "你快来呀", "come quickly", MP3, 15046, 14976,
          _std(14976, Chunk("fact", 4), fmt_size=30)),
    _clip("button28", 28, "真的是猪", "really a pig", MP3, 20902, 20832,
          _std(20832, Chunk("fact", 4), fmt_size=30)),
    _clip("button29", 29, "各种狂笑", "all kinds of wild laughter", S44, 4773644, 4773600,
          _std(4773600, riff_size_is_file=True)),
    _clip("button30", 30, "我太有才", "I'm so talented", pcm(8, 1, 8000), 310796, 310752,
          _std(310752)),
    _clip("button31", 31, "不要逼我", "don't push me", S44, 130208, 130164, _std(130164)),
    _clip("button32", 32, "老折磨我", "always tormenting me", pcm(16, 1, 8000), 135330, 135286,
          _std(135286)),
    _clip("button33", 33, "一会再说", "talk later", pcm(8, 1, 8000), 198148, 198104,
          _std(198104)),
    _clip("button34", 34, "葵花点穴", "sunflower pressure-point", S44, 557612, 557568,
          _std(557568)),
    _clip("button35", 35, "我是胡侃", "I'm just rambling", pcm(8, 1, 8000), 495372, 429196,
          _std(429196, Chunk("id3 ", 66064), before=(Chunk("cue ", 52),))),
    _clip("button36", 36, "回家吃吧", "go home and eat", pcm(8, 1, 8000), 309262, 242494,
          _std(242494, Chunk("id3 ", 66064), Chunk("bext", 644))),
    # 22 bytes beyond fmt/data/fact: carried by a small JUNK chunk after "fact".
    _clip("button37", 37, "我要走了", "I'm leaving", MP3, 18236, 18144,
          _std(18144, Chunk("fact", 4), Chunk("JUNK", 14), fmt_size=30)),
    _clip("button38", 38, "吐得习惯", "used to throwing up", pcm(16, 1, 16000), 83882, 83838,
          _std(83838)),
    _clip("button39", 39, "爱拍马屁", "loves flattery", pcm(8, 1, 8000), 307100, 307055,
          _std(307055)),                                  # odd data, pad byte follows
    _clip("button40", 40, "后果严重", "serious consequences", pcm(16, 1, 16000), 253234, 253190,
          _std(253190)),
    _clip("button41", 41, "有没天理", "is there no justice", M22, 115592, 115326,
          _std(115326, LIST(76), trailer=138)),
    _clip("button42", 42, "我会回来", "I'll be back", S44, 609300, 609244,
          _std(609244, before=(Chunk("fact", 4),))),
    _clip("button43", 43, "他们来了", "they're coming", pcm(8, 1, 22050), 81209, 81165,
          dict(chunks=(Chunk("fmt ", 16), Chunk("data", 81165, pad=False)))),  # file ends unpadded
    _clip("button44", 44, "我很忙啊", "I'm very busy", pcm(16, 1, 8000), 185144, 185000,
          _std(185000, LIST(92))),
    _clip("button45", 45, "我是大海", "I am the sea", pcm(8, 1, 22050), 596782, 596736,
          _std(596736, fmt_size=18)),
    _clip("startup", 0, "", "start-up jingle", S22, 384972, 384928, _std(384928)),
)

BY_NAME = {c.name: c for c in CLIPS}
