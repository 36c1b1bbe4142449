#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
"""A stand-in print server with one printer, for screenshots of the print dialog on a machine
without a print service: answers the printing library's few questions over IPP and serves the
printer's description. Prints its port, then serves until killed; print jobs are refused.

    scripts/lab-printer.py > port &  # then: CUPS_SERVER=127.0.0.1:$(cat port) program
"""
import http.server
import socketserver
import struct
import sys

NAME = "lab-214"
INFO = "Кабинет 214"
PPD = """*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "LAB214.PPD"
*Manufacturer: "Generic"
*Product: "(Laser)"
*ModelName: "Generic Laser"
*ShortNickName: "Generic Laser"
*NickName: "Generic Laser"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "20"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*OpenUI *PageSize/Page Size: PickOne
*DefaultPageSize: A4
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageSize Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*DefaultPageRegion: A4
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*PageRegion Letter/Letter: "<</PageSize[612 792]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: A4
*ImageableArea A4/A4: "18 36 577 806"
*ImageableArea Letter/Letter: "18 36 594 756"
*DefaultPaperDimension: A4
*PaperDimension A4/A4: "595 842"
*PaperDimension Letter/Letter: "612 792"
""".encode("latin-1")


def attribute(tag, name, *values):
    out = b""
    for i, value in enumerate(values):
        if isinstance(value, bool):
            data = b"\x01" if value else b"\x00"
        elif isinstance(value, int):
            data = struct.pack(">i", value)
        else:
            data = value.encode("utf-8")
        label = name.encode() if i == 0 else b""
        out += struct.pack(">BH", tag, len(label)) + label + struct.pack(">H", len(data)) + data
    return out


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def body(self):
        if self.headers.get("Transfer-Encoding", "").lower() == "chunked":
            data = b""
            while True:
                size = int(self.rfile.readline().strip() or b"0", 16)
                if size == 0:
                    self.rfile.readline()
                    return data
                data += self.rfile.read(size)
                self.rfile.readline()
        return self.rfile.read(int(self.headers.get("Content-Length", 0)))

    def reply(self, content_type, data):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_GET(self):
        if self.path.endswith(".ppd"):
            self.reply("application/vnd.cups-ppd", PPD)
        else:
            self.send_error(404)

    def do_POST(self):
        request = self.body()
        operation, request_id = struct.unpack(">HI", request[2:8])
        host = "127.0.0.1:%d" % self.server.server_address[1]
        uri = "ipp://%s/printers/%s" % (host, NAME)
        status = 0x0000 if operation in (0x000B, 0x4001, 0x4002) else 0x0501  # else: not supported
        out = struct.pack(">BBHI", 2, 0, status, request_id) + b"\x01"
        out += attribute(0x47, "attributes-charset", "utf-8")
        out += attribute(0x48, "attributes-natural-language", "ru")
        if status == 0:
            out += b"\x04"
            out += attribute(0x42, "printer-name", NAME)
            out += attribute(0x45, "printer-uri-supported", uri)
            out += attribute(0x45, "device-uri", "socket://127.0.0.1:9")
            out += attribute(0x41, "printer-info", INFO)
            out += attribute(0x41, "printer-location", INFO)
            out += attribute(0x41, "printer-make-and-model", "Generic Laser")
            out += attribute(0x23, "printer-state", 3)
            out += attribute(0x22, "printer-is-accepting-jobs", True)
            out += attribute(0x23, "printer-type", 0x0004 | 0x0010 | 0x0020 | 0x40000)
            out += attribute(0x44, "printer-state-reasons", "none")
            out += attribute(0x44, "media-default", "iso_a4_210x297mm")
            out += attribute(0x44, "media-supported", "iso_a4_210x297mm", "na_letter_8.5x11in")
            out += attribute(0x44, "sides-default", "one-sided")
            out += attribute(0x44, "sides-supported", "one-sided")
            out += attribute(0x49, "document-format-supported", "application/pdf", "application/postscript")
            out += attribute(0x21, "copies-default", 1)
        out += b"\x03"
        self.reply("application/ipp", out)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True


server = Server(("127.0.0.1", 0), Handler)
print(server.server_address[1], flush=True)
sys.stdout.close()
server.serve_forever()
