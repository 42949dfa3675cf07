#!/usr/bin/python3
"""Gives a Windows Installer package its package code and its time.

    msi_summary.py <package.msi> <package code> <SOURCE_DATE_EPOCH>

wixl writes into the package's summary information a package code drawn at
random and the moment of the build as its creation and last-save times; this
puts the given code and time there instead, so that the same files give the
same package. It uses msitools' own library through GObject introspection
(Debian: gir1.2-libmsi-1.0 and python3-gi, for Debian's /usr/bin/python3).
"""

import sys

import gi

gi.require_version("Libmsi", "1.0")
from gi.repository import Libmsi  # noqa: E402

# A FILETIME counts 100 ns from 1601-01-01 UTC.
UNIX_EPOCH_AS_FILETIME = 11644473600 * 10**7


def main():
    path, code, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    db = Libmsi.Database.new(path, Libmsi.DbFlags.TRANSACT, None)
    info = Libmsi.SummaryInfo.new(db, 20)
    info.set_string(Libmsi.Property.UUID, code)
    for moment in (Libmsi.Property.CREATED_TM, Libmsi.Property.LASTSAVED_TM):
        info.set_filetime(moment, UNIX_EPOCH_AS_FILETIME + epoch * 10**7)
    info.persist()
    db.commit()


if __name__ == "__main__":
    main()
