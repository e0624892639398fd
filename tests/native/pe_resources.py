"""A bounded reader of a PE file's resource tree: enough to check what the
program carries (its page, its version, its manifest) without running it."""
import struct


class PeError(Exception):
    pass


class Pe:
    def __init__(self, data: bytes):
        self.data = data
        if self.u16(0) != 0x5A4D:
            raise PeError("no MZ header")
        pe = self.u32(0x3C)
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        sections = self.u16(pe + 6)
        optional = pe + 24
        opt_size = self.u16(pe + 20)
        magic = self.u16(optional)
        dirs = optional + (96 if magic == 0x10B else 112)
        self.resource_rva = self.u32(dirs + 2 * 8)
        self.import_rva = self.u32(dirs + 1 * 8)
        self.sections = []
        at = optional + opt_size
        for i in range(sections):
            s = at + 40 * i
            vsize, rva, rawsize, raw = struct.unpack_from("<IIII", self.data, s + 8)
            self.sections.append((rva, max(vsize, rawsize), raw, rawsize))

    def u16(self, at):
        if at < 0 or at + 2 > len(self.data):
            raise PeError(f"read past the end at {at}")
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        if at < 0 or at + 4 > len(self.data):
            raise PeError(f"read past the end at {at}")
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        for start, size, raw, rawsize in self.sections:
            if start <= rva < start + size and rva - start < rawsize:
                return raw + rva - start
        raise PeError(f"address {rva:#x} is in no section")

    def bytes_at(self, rva, size):
        at = self.offset(rva)
        if at + size > len(self.data):
            raise PeError("resource runs past the end")
        return self.data[at:at + size]

    def _entries(self, table):
        """(id or name, is_directory, offset) of one resource directory."""
        base = self.offset(self.resource_rva)
        at = base + table
        named, numbered = self.u16(at + 12), self.u16(at + 14)
        out = []
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
            if name & 0x80000000:
                n = base + (name & 0x7FFFFFFF)
                length = self.u16(n)
                key = self.data[n + 2:n + 2 + 2 * length].decode("utf-16-le")
            else:
                key = name
            out.append((key, bool(target & 0x80000000), target & 0x7FFFFFFF))
        return out

    def resources(self):
        """{(type, name): bytes} of the first language of each resource."""
        if not self.resource_rva:
            return {}
        base = self.offset(self.resource_rva)
        found = {}
        for rtype, is_dir, t in self._entries(0):
            if not is_dir:
                continue
            for name, is_dir2, n in self._entries(t):
                if not is_dir2:
                    continue
                langs = self._entries(n)
                if not langs:
                    continue
                rva, size = struct.unpack_from("<II", self.data, base + langs[0][2])
                found[(rtype, name)] = self.bytes_at(rva, size)
        return found

    def imported_dlls(self):
        names = []
        if not self.import_rva:
            return names
        at = self.offset(self.import_rva)
        while True:
            name_rva = self.u32(at + 12)
            if name_rva == 0:
                return names
            n = self.offset(name_rva)
            names.append(self.data[n:self.data.index(b"\0", n)].decode("ascii").lower())
            at += 20


def version_strings(block: bytes):
    """The fixed file info's versions and the string table of a VERSIONINFO."""
    fixed_at = block.find(struct.pack("<I", 0xFEEF04BD))
    if fixed_at < 0:
        raise PeError("no fixed file info")
    ms, ls, pms, pls = struct.unpack_from("<IIII", block, fixed_at + 8)
    split = lambda hi, lo: (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
    strings = {}

    def walk(at, end):
        while at + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", block, at)
            if length == 0:
                return
            key_end = at + 6
            while block[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = block[at + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if kind == 1 and value_length and key not in ("StringFileInfo", "VarFileInfo"):
                strings[key] = block[value_at:value_at + 2 * value_length].decode("utf-16-le").rstrip("\0")
            elif key in ("VS_VERSION_INFO", "StringFileInfo") or len(key) == 8:
                child = value_at + (value_length if kind == 0 else 2 * value_length)
                walk((child + 3) & ~3, at + length)
            at = (at + length + 3) & ~3

    walk(0, len(block))
    return split(ms, ls), split(pms, pls), strings
