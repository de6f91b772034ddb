"""A small GIF89a writer with full control over every block, so that the animations carry
exactly the frame positions, delays, disposal methods and extensions the program expects."""

import struct


def lzw_encode(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def reset():
        return {bytes([i]): i for i in range(clear)}, end + 1, min_code_size + 1

    table, next_code, code_size = reset()
    emit(clear, code_size)
    current = b""
    for index in indices:
        candidate = current + bytes([index])
        if candidate in table:
            current = candidate
            continue
        emit(table[current], code_size)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear, code_size)
            table, next_code, code_size = reset()
        current = bytes([index])
    if current:
        emit(table[current], code_size)
    emit(end, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def header(width, height, palette):
    """palette: list of 256 (r, g, b) tuples."""
    assert len(palette) == 256
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)
    for r, g, b in palette:
        out += bytes([r, g, b])
    return bytes(out)


def loop_extension():
    return b"\x21\xFF\x0BNETSCAPE2.0" + b"\x03\x01\x00\x00" + b"\x00"


def comment_extension(text):
    return b"\x21\xFE" + sub_blocks(text.encode("ascii"))


def application_extension(identifier, auth, payload):
    assert len(identifier) == 8 and len(auth) == 3
    return b"\x21\xFF\x0B" + identifier + auth + sub_blocks(payload)


def control_extension(delay, disposal, transparent_index):
    packed = (disposal << 2) | (1 if transparent_index is not None else 0)
    return struct.pack("<BBBBHBB", 0x21, 0xF9, 4, packed, delay, transparent_index or 0, 0)


def image_block(left, top, width, height, indices):
    assert len(indices) == width * height
    out = bytearray(struct.pack("<BHHHHB", 0x2C, left, top, width, height, 0))
    out.append(8)
    out += sub_blocks(lzw_encode(indices, 8))
    return bytes(out)


TRAILER = b"\x3B"
