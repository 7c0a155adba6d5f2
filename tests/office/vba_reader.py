"""A reader of VBA projects written for the tests, apart from the program's
own: olefile (Debian's python3-olefile) for the compound file, and the
format's decompression and dir stream written out here again."""
import io
import struct
import zipfile

import olefile


def decompress(data):
    if not data or data[0] != 1:
        raise ValueError("no compressed container")
    out = bytearray()
    pos = 1
    while pos < len(data):
        header = struct.unpack_from("<H", data, pos)[0]
        end = pos + (header & 0x0FFF) + 3
        if (header >> 12) & 7 != 3 or end > len(data):
            raise ValueError("bad chunk at %d" % pos)
        pos += 2
        if not header & 0x8000:
            out += data[pos:pos + 4096]
            pos += 4096
            continue
        start = len(out)
        while pos < end:
            flags = data[pos]
            pos += 1
            for bit in range(8):
                if pos >= end:
                    break
                if not flags & (1 << bit):
                    out.append(data[pos])
                    pos += 1
                    continue
                token = struct.unpack_from("<H", data, pos)[0]
                pos += 2
                difference = len(out) - start
                bits = 4
                while (1 << bits) < difference:
                    bits += 1
                length = (token & (0xFFFF >> bits)) + 3
                offset = (token >> (16 - bits)) + 1
                if offset > difference:
                    raise ValueError("copy token before its chunk")
                for _ in range(length):
                    out.append(out[-offset])
    return bytes(out)


def modules(dir_stream):
    """(name, stream name, offset) of each module the dir stream lists."""
    found = []
    current = None
    pos = 0
    while pos < len(dir_stream):
        rid = struct.unpack_from("<H", dir_stream, pos)[0]
        if rid == 0x0010:
            break
        size = 6 if rid == 0x0009 else struct.unpack_from("<I", dir_stream, pos + 2)[0]
        body = dir_stream[pos + 6:pos + 6 + size]
        if rid == 0x0019:
            current = {"name": body}
        elif rid == 0x001A:
            current["stream"] = body
        elif rid == 0x0031:
            current["offset"] = struct.unpack("<I", body)[0]
        elif rid == 0x002B:
            found.append(current)
            current = None
        pos += 6 + size
    return found


class Project:
    """The project in a document: its compound file and the storage path."""

    def __init__(self, path):
        self.zip = None
        if zipfile.is_zipfile(path):
            self.zip = zipfile.ZipFile(path)
            name = [n for n in self.zip.namelist() if n.endswith("vbaProject.bin")][0]
            self.ole = olefile.OleFileIO(io.BytesIO(self.zip.read(name)))
            self.prefix = []
        else:
            self.ole = olefile.OleFileIO(path)
            self.prefix = ["Macros"] if self.ole.exists("Macros") else ["_VBA_PROJECT_CUR"]

    def stream(self, *path):
        return self.ole.openstream(self.prefix + list(path)).read()

    def sources(self):
        out = {}
        for m in modules(decompress(self.stream("VBA", "dir"))):
            data = self.stream("VBA", m["stream"].decode("latin-1"))
            out[m["name"].decode("latin-1")] = (decompress(data[m["offset"]:]), m["offset"])
        return out

    def streams(self):
        """Every stream of the compound file, by its path, with its bytes."""
        return {"/".join(p): self.ole.openstream(p).read() for p in self.ole.listdir()}
