#!/usr/bin/env python3
"""Packs resources/ into the program's resource package: a plain zip (deflate, no
encryption, "/" separators, folder entries included).

The driver payload (plug-in DLLs, data files, help file, the shared driver files) is not
kept in the repository: payload.txt beside the driver tree lists each file with its size,
and this script writes deterministic stand-in bytes for it, unless --driver-tree names a
real driver tree whose files then take their place. The certificate is a real DER X.509
certificate made with openssl at build time.
"""
import argparse
import hashlib
import os
import subprocess
import sys
import tempfile
import zipfile

STAMP = (2024, 10, 22, 8, 44, 52)


def stand_in_bytes(path, size):
    # Compressible but not trivial: a repeated digest of the path, with a header line.
    header = ("stand-in payload for %s\n" % path).encode()
    block = hashlib.sha256(path.encode()).digest() * 64
    data = bytearray(header)
    while len(data) < size:
        data += block
    return bytes(data[:size])


def make_certificate(workdir):
    key = os.path.join(workdir, "qmvt.key")
    cer = os.path.join(workdir, "qmvt.cer")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
         "-outform", "DER", "-out", cer, "-days", "3650", "-sha256",
         "-subj", "/C=CN/O=Vexlomar/CN=Vexlomar Printer Driver Publisher"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(cer, "rb") as f:
        return f.read()


def collect(resources, driver_tree):
    files = {}  # entry name -> bytes
    for root, dirs, names in os.walk(resources):
        dirs.sort()
        for name in sorted(names):
            full = os.path.join(root, name)
            rel = os.path.relpath(full, resources).replace(os.sep, "/")
            if rel == "driver/payload.txt":
                continue
            with open(full, "rb") as f:
                files[rel] = f.read()
    payload = os.path.join(resources, "driver", "payload.txt")
    if os.path.exists(payload):
        with open(payload, encoding="utf-8") as f:
            for line in f:
                line = line.strip()
                if not line or line.startswith("#"):
                    continue
                rel, size = line.rsplit(None, 1)
                entry = "driver/" + rel
                real = os.path.join(driver_tree, rel) if driver_tree else None
                if real and os.path.exists(real):
                    with open(real, "rb") as r:
                        files[entry] = r.read()
                elif rel.lower().endswith(".cer"):
                    with tempfile.TemporaryDirectory() as tmp:
                        files[entry] = make_certificate(tmp)
                else:
                    files[entry] = stand_in_bytes(entry, int(size))
    return files


def write_zip(files, out):
    folders = set()
    for name in files:
        parts = name.split("/")[:-1]
        for i in range(1, len(parts) + 1):
            folders.add("/".join(parts[:i]) + "/")
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for folder in sorted(folders):
            z.writestr(zipfile.ZipInfo(folder, STAMP), b"")
        for name in sorted(files):
            info = zipfile.ZipInfo(name, STAMP)
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, files[name])
    os.replace(tmp, out)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--resources", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--driver-tree", default="")
    args = parser.parse_args()
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    write_zip(collect(args.resources, args.driver_tree), args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
