#!/usr/bin/env python3
"""Checks of the string-table generator on small tables: what it refuses, and how it writes
the resource script and the host table. Usage: generator_test.py path/to/generate_strings.py"""

import importlib.util
import os
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # loading the generator must leave the source tree untouched
GENERATOR_PATH = sys.argv.pop(1) if len(sys.argv) > 1 else None
spec = importlib.util.spec_from_file_location("generate_strings", GENERATOR_PATH)
gen = importlib.util.module_from_spec(spec)
spec.loader.exec_module(gen)

HEADER = "id\trules\ten\tde\tfr\tit\tes\tnl\tzh_TW\tzh_CN\tcomment"


def row(number, texts, rules="-"):
    if isinstance(texts, str):
        texts = [texts] * 8
    return "\t".join([str(number), rules] + ['"' + t.replace('"', '""') + '"' for t in texts])


def table(*rows, stride=1000, dialogs=()):
    return gen.read_table([HEADER] + list(rows), stride, dialogs)


ATTENTION = ["Attention", "Achtung", "Attention", "Attenzione", "Atención", "Let op",
             "注意", "注意"]


class Refusals(unittest.TestCase):
    def refused(self, *rows, stride=1000, says):
        with self.assertRaises(gen.TableError) as caught:
            table(*rows, stride=stride)
        self.assertIn(says, str(caught.exception))

    def test_unquoted_text(self):
        self.refused("1\t-\tOK" + '\t"OK"' * 7, says="quotes")

    def test_missing_language(self):
        self.refused("1\t-" + '\t"OK"' * 7, says="fields")

    def test_empty_translation(self):
        self.refused(row(1, ["OK"] * 7 + [""]), says="no zh_CN text")

    def test_number_outside_the_block(self):
        self.refused(row(1000, "x"), says="outside")
        self.refused(row(50, "x"), stride=50, says="outside")
        self.refused(row(0, "x"), says="outside")

    def test_same_number_twice(self):
        self.refused(row(7, "a"), row(7, "b"), says="already on line 2")

    def test_same_rule_with_a_translated_text(self):
        self.refused(row(62, ["Publisher"] * 7 + ["出版"], rules="same"), says="same in every")

    def test_unknown_rule(self):
        self.refused(row(1, "x", rules="sam"), says="unknown rule")

    def test_name_longer_than_a_twain_string(self):
        self.refused(row(62, "N" * 34, rules="same,name"), says="33")

    def test_text_longer_than_the_read_buffer(self):
        self.refused(row(1, "x" * 256), says="255")

    def test_traditional_character_in_the_simplified_block(self):
        self.refused(row(1, ATTENTION[:7] + ["體"]), says="gb2312")

    def test_character_a_western_system_cannot_show(self):
        self.refused(row(1, ["Zażółć"] * 6 + ["中", "中"]), says="cp1252")

    def test_control_character(self):
        self.refused(row(1, "a\x01b"), says="control")


class TranslationRules(unittest.TestCase):
    """What a translation must keep of the English: each rule shown refusing a bad table, the
    refusal naming the string, the language and the reason."""

    def refused(self, *rows, dialogs=(), says):
        with self.assertRaises(gen.TableError) as caught:
            table(*rows, dialogs=dialogs)
        for part in says:
            self.assertIn(part, str(caught.exception))

    def test_tab_label_the_tab_would_cut(self):
        labels = ["Enhancements", "Bild", "Améliorations", "Ritocco", "Mejoras", "Beeld",
                  "影像增強功能", "图像增强功能"]
        self.refused(row(304, labels, rules="tab"),
                     says=("string 304", "the fr text", "13 characters", "'Amélior..'"))
        # English is the reference and the Chinese tabs show whole labels; characters, not
        # UTF-8 bytes, are counted ("Général" is 9 bytes).
        labels[2] = "Général"
        table(row(304, labels, rules="tab"))

    def test_composed_text_keeps_the_english_outer_blanks(self):
        check = [" Please make sure :", " Bitte prüfen Sie:", " Vérifiez que :",
                 "Verificare quanto segue:", " Compruebe que:", " Controleer het volgende:",
                 "請確認：", "请确认："]
        self.refused(row(610, check), says=("string 610", "the it text", "0 leading"))
        invalid = [" Invalid file name ! ", " Ungültiger Dateiname! ", " Nom incorrect ! ",
                   " Nome file non valido! ", " ¡Nombre no válido!", " Ongeldige naam! ",
                   " 檔名無效！", "文件名无效！"]
        self.refused(row(616, invalid), says=("string 616", "the es text", "0 trailing"))
        check[3], invalid[4] = " Verificare quanto segue:", " ¡Nombre no válido! "
        table(row(610, check), row(616, invalid))  # the Chinese blocks may drop the blanks

    def test_translated_application_name(self):
        names = ["Microsoft Publisher"] * 8
        names[4] = "Microsoft Editor"
        self.refused(row(62, names, rules="name"),
                     says=("string 62", "the es text", "application name"))

    def test_language_list_under_its_own_names(self):
        french = ["Francais"] + ["Français"] * 5 + ["Francais"] * 2
        table(row(167, french, rules="endonym"))
        half_done = french[:3] + ["Francais"] + french[4:]
        self.refused(row(167, half_done, rules="endonym"),
                     says=("string 167", "the it text", "differs from the de"))
        translated = french[:1] + ["Französisch"] + french[2:]
        self.refused(row(167, translated, rules="endonym"),
                     says=("string 167", "the de text", "own name 'Francais'"))

    def test_two_strings_of_one_dialog_with_one_accelerator(self):
        main = gen.read_dialogs(["# the main buttons", "main\t307 &308 309 310"])
        scan = row(307, ["&Scan", "&Scannen", "&Numériser", "&Scansiona", "&Escanear",
                         "&Scannen", "掃描(&S)", "扫描(&S)"])
        cancel = row(308, ["Cancel", "Abbrechen", "Annuler", "Annulla", "Cancelar",
                           "Annuleren", "取消", "取消"])
        load = row(309, ["&Load", "&Laden", "&Charger", "&Carica", "&cargar", "&Laden",
                         "載入(&L)", "载入(&L)"])
        # English, the reference, keeps its &Scan and &Save on one key.
        save = row(310, ["&Save", "Speic&hern", "&Enregistrer", "Sal&va", "&Guardar",
                         "O&pslaan", "儲存(&A)", "保存(&A)"])
        # The code's own "&" before Cancel makes its first letter the accelerator, in any case.
        self.refused(scan, cancel, load, save, dialogs=main,
                     says=("string 309", "the es text", "'C'", "string 308", "'main'"))
        fixed = load.replace("&cargar", "C&argar")
        table(scan, cancel, fixed, save, dialogs=main)
        # A dialog that lists a string the table lacks would guard nothing for it.
        self.refused(scan, cancel, fixed, dialogs=main, says=("'main'", "string 310"))


class Output(unittest.TestCase):
    def test_resource_script_numbers_every_block_and_keeps_blanks(self):
        rc = gen.render_rc(table(row(204, [".TIF"] * 5 + [".TIF "] + [".TIF"] * 2)), 1000, "t")
        self.assertIn("#pragma code_page(65001)", rc)
        for i in range(8):
            self.assertIn(f"  {1000 * i + 204}, ", rc)
        self.assertIn('  5204, ".TIF "\n', rc)

    def test_resource_script_escapes_quotes_and_backslashes(self):
        rc = gen.render_rc(table(row(3, 'say "C:\\TWAIN"')), 1000, "t")
        self.assertIn('  3, "say ""C:\\\\TWAIN"""\n', rc)

    def test_host_table_holds_big5_and_gb2312(self):
        cpp = gen.render_cpp(table(row(36, ATTENTION), stride=50), 50, "t", "kTable")
        self.assertIn('{336, "\\252`\\267N"}', cpp)  # AA 60 B7 4E
        self.assertIn('{386, "\\327\\242\\322\\342"}', cpp)  # D7 A2 D2 E2
        self.assertIn('{236, "Atenci\\303\\263n"}', cpp)  # UTF-8
        self.assertIn("extern const StringTable kTable", cpp)

    def test_host_table_escape_is_not_extended_by_a_following_digit(self):
        cpp = gen.render_cpp(table(row(1, ["é1"] * 6 + ["1", "1"])), 1000, "t", "k")
        self.assertIn('{1, "\\303\\2511"}', cpp)

    def test_rows_come_out_sorted_whatever_the_file_order(self):
        rows = table(row(9, "b"), row(2, "a"))
        self.assertEqual([r.number for r in rows], [2, 9])

    def test_main_writes_both_files_and_fails_on_a_bad_table(self):
        with tempfile.TemporaryDirectory() as d:
            good = os.path.join(d, "good.tsv")
            with open(good, "w", encoding="utf-8") as f:
                f.write("# comment\n" + HEADER + "\n" + row(1, "x") + "\n")
            rc, cpp = os.path.join(d, "t.rc"), os.path.join(d, "t.cpp")
            args = ["--stride", "1000", "--symbol", "k", "--rc", rc, "--cpp", cpp]
            self.assertEqual(gen.main([good] + args), 0)
            self.assertTrue(os.path.exists(rc) and os.path.exists(cpp))
            bad = os.path.join(d, "bad.tsv")
            with open(bad, "w", encoding="utf-8") as f:
                f.write(HEADER + "\n" + row(1, "x") + "\n" + row(1, "y") + "\n")
            self.assertEqual(gen.main([bad] + args), 1)
            dialogs = os.path.join(d, "dialogs.tsv")
            with open(dialogs, "w", encoding="utf-8") as f:
                f.write("one\t1 2\n")  # string 2 is not in the table
            self.assertEqual(gen.main([good] + args + ["--dialogs", dialogs]), 1)


if __name__ == "__main__":
    unittest.main()
