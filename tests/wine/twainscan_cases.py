#!/usr/bin/env python3
"""twainscan through a source manager (Wine's own twain_32.dll, or TWAINDSM.dll) with our
source installed as twain_64\\sane.ds: the listing and the identity the source reports for
several WIN.INIs."""
from harness.cases import expect, expect_line, expect_ok, main
from harness.prefix import TestPrefix

# What Wine writes into a new WIN.INI; none of it concerns the source.
PLAIN_WIN_INI = "[mail]\nmapi=1\n"


def run_twainscan(context, win_ini, *args):
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"))
        prefix.install_manager(context.manager)
        prefix.seed_win_ini(win_ini)
        return prefix.run(context.twainscan(*args), success_line="TWAINSCAN OK")


def expect_identity(result, **fields):
    expect_ok(result)
    for key, value in fields.items():
        expect_line(result, "%s: %s" % (key, value))


def case_list(context):
    with TestPrefix(context.tree, context.name, display=True) as prefix:
        prefix.install_source(context.program("source"))
        prefix.install_manager(context.manager)
        prefix.seed_win_ini(PLAIN_WIN_INI)
        listed = prefix.run(context.twainscan("--list"), success_line="TWAINSCAN OK")
        expect_ok(listed)
        expect_line(listed, "source: A3 Flatbed Scanner")
        if context.manager == "twain_32.dll":
            # Wine's manager always lists its own camera source too.
            expect_line(listed, "source: GPhoto2 Camera")

        # Choosing a source that is not there must fail loudly, not pick another one.
        missing = prefix.run(context.twainscan("--identity", "--source", "No Such Scanner"),
                             success_line="TWAINSCAN OK")
        expect(missing.returncode != 0 and not missing.success_seen,
               "a missing source was not reported:\n" + missing.describe())
        expect_line(missing, 'TWAINSCAN FAILED: no source named "No Such Scanner"')


def case_identity_default(context):
    result = run_twainscan(context, PLAIN_WIN_INI, "--identity")
    expect_identity(result, Version="1.0", Language="13", Country="886", Info="V1.0",
                    Protocol="1.5", SupportedGroups="3", Manufacturer="SCANNER",
                    ProductFamily="A3 Flatbed Scanner", ProductName="A3 Flatbed Scanner")


def case_identity_brand_prefix(context):
    # The brand that goes in front of the model keeps the spelling the profile gives it.
    result = run_twainscan(context, "[KVTINFO_A3]\nBRAND=sOLENNE\n", "--identity")
    expect_identity(result, Manufacturer="sOLENNE",
                    ProductFamily="sOLENNE A3 Flatbed Scanner",
                    ProductName="sOLENNE A3 Flatbed Scanner")


def case_identity_long_brand(context):
    brand = "".join(chr(ord("A") + i % 26) for i in range(60))
    result = run_twainscan(context, "[KVTINFO_A3]\nBRAND=%s\n" % brand, "--identity")
    expect_identity(result, Manufacturer=brand[:33], ProductName="A3 Flatbed Scanner")


def case_identity_overrides(context):
    win_ini = "[KVTINFO_A3]\nSWVERSION=V2.71\n1200=Bench Model 9\n"
    result = run_twainscan(context, win_ini, "--identity", "--source", "Bench Model 9")
    expect_identity(result, Info="V2.71", Manufacturer="SCANNER",
                    ProductFamily="Bench Model 9", ProductName="Bench Model 9")


if __name__ == "__main__":
    main({
        "list": case_list,
        "identity_default": case_identity_default,
        "identity_brand_prefix": case_identity_brand_prefix,
        "identity_long_brand": case_identity_long_brand,
        "identity_overrides": case_identity_overrides,
    })
