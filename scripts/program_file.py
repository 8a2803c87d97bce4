"""The headers of a Windows program file, as the release scripts read them: its sections and
where its resources lie. scripts/program_keys.py and scripts/sign_update.sh share it."""
import struct

RESOURCE_DIRECTORY = 2
CERTIFICATE_DIRECTORY = 4


class NotAProgram(Exception):
    pass


class Section:
    def __init__(self, address, size, raw, raw_size, flags):
        self.address, self.size, self.raw, self.raw_size, self.flags = (
            address, size, raw, raw_size, flags)


class ProgramFile:
    """Raises NotAProgram, struct.error, IndexError or KeyError for bytes that are no program."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise NotAProgram()
        pe = self.u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise NotAProgram()
        count, optional_size = self.u16(pe + 6), self.u16(pe + 20)
        optional = pe + 24
        directories = optional + {0x10B: 96, 0x20B: 112}[self.u16(optional)]
        self.resources_rva = self.u32(directories + RESOURCE_DIRECTORY * 8)
        # Where an Authenticode signature lies: a file offset, never loaded with the program.
        self.certificates = (self.u32(directories + CERTIFICATE_DIRECTORY * 8),
                             self.u32(directories + CERTIFICATE_DIRECTORY * 8 + 4))
        table = optional + optional_size
        self.sections = [
            Section(self.u32(s + 12), self.u32(s + 8), self.u32(s + 20), self.u32(s + 16),
                    self.u32(s + 36))
            for s in (table + 40 * i for i in range(count))
        ]

    def u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        """The file offset of a relative address; None when no section holds it."""
        for s in self.sections:
            if s.address <= rva < s.address + max(s.size, s.raw_size):
                return rva - s.address + s.raw
        return None
