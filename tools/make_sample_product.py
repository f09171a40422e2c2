#!/usr/bin/env python3
"""Writes a sample product: the 106 payload files of the install file table,
generated in the formats the real product ships, so that the setup program can
be built and installed without the real product files."""

import argparse
import functools
import os
import random
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import file_table  # noqa: E402
from sample_formats import (  # noqa: E402
    CRLF, SAMPLE_NOTICE, SAMPLE_NOTICE_B5, SAMPLE_NOTICE_CN, TABLE_HEADER_BYTES, Canvas, big5_hanzi,
    bmp, chm, crlf_text, fill_records, fit_lines, gb2312_hanzi, glyph_rows, gradient_palette, png,
    pseudo_hanzi, table_header, text_width, zipf_weights)

SEED_BASE = 0x4C554D41  # each file draws from random.Random(SEED_BASE + its resource id)

# The size the generated files add up to. One table (BALANCE_ID) takes whatever
# the others leave, so the payload stays at about 63 MB with the glyph sheets,
# the licences and the four programs added.
GENERATED_TOTAL_BYTES = 62_600_000
BALANCE_ID = 173

GLYPH_SHEETS_BYTES = 4 * 60416  # four 512 x 944 monochrome sheets
PROGRAM_IDS = (109, 171, 139, 253)
GLYPHS_ID = 110
LICENCE_CN_ID = 124
LICENCE_EN_ID = 161


class InputError(Exception):
    """An input file is missing or not what it should be; the message names it."""


# ---------------------------------------------------------------------------
# Shared vocabulary

PINYIN_SYLLABLES = """
a ai an ang ao ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu
ca cai can cang cao ce cen ceng cha chai chan chang chao che chen cheng chi chong
chou chu chua chuai chuan chuang chui chun chuo ci cong cou cu cuan cui cun cuo
da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou du duan
dui dun duo e ei en eng er fa fan fang fei fen feng fo fou fu ga gai gan gang gao
ge gei gen geng gong gou gu gua guai guan guang gui gun guo ha hai han hang hao he
hei hen heng hong hou hu hua huai huan huang hui hun huo ji jia jian jiang jiao jie
jin jing jiong jiu ju juan jue jun ka kai kan kang kao ke ken keng kong kou ku kua
kuai kuan kuang kui kun kuo la lai lan lang lao le lei leng li lia lian liang liao
lie lin ling liu long lou lu luan lun luo lv lve ma mai man mang mao me mei men
meng mi mian miao mie min ming miu mo mou mu na nai nan nang nao ne nei nen neng ni
nian niang niao nie nin ning niu nong nou nu nuan nuo nv nve o ou pa pai pan pang
pao pei pen peng pi pian piao pie pin ping po pou pu qi qia qian qiang qiao qie qin
qing qiong qiu qu quan que qun ran rang rao re ren reng ri rong rou ru ruan rui run
ruo sa sai san sang sao se sen seng sha shai shan shang shao she shei shen sheng shi
shou shu shua shuai shuan shuang shui shun shuo si song sou su suan sui sun suo ta
tai tan tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo wa wai
wan wang wei wen weng wo wu xi xia xian xiang xiao xie xin xing xiong xiu xu xuan
xue xun ya yan yang yao ye yi yin ying yo yong you yu yuan yue yun za zai zan zang
zao ze zei zen zeng zha zhai zhan zhang zhao zhe zhei zhen zheng zhi zhong zhou zhu
zhua zhuai zhuan zhuang zhui zhun zhuo zi zong zou zu zuan zui zun zuo
""".split()

PINYIN_FINALS = ("iu", "ei", "uan", "ue", "un", "uo", "ie", "ong", "ai", "en", "eng", "ang",
                 "an", "ao", "ing", "ou", "ia", "ua", "ian", "iao", "in", "ui", "uai", "iang")


@functools.lru_cache(maxsize=None)
def hanzi_level1():
    return gb2312_hanzi(1)


@functools.lru_cache(maxsize=None)
def hanzi_all():
    return gb2312_hanzi(1) + gb2312_hanzi(2)


@functools.lru_cache(maxsize=None)
def hanzi_big5():
    return big5_hanzi()


@functools.lru_cache(maxsize=None)
def common_weights(count):
    return zipf_weights(count, 1.2, 3)


COMMON_ORDER_SEED = 1988


@functools.lru_cache(maxsize=None)
def by_use(charset):
    """The characters of a pool in a made-up order of use, most common first;
    code order would make the first cells of the code table the common ones."""
    pool = list(hanzi_big5() if charset == "big5" else hanzi_level1())
    random.Random(COMMON_ORDER_SEED).shuffle(pool)
    return pool


def common_chars(rng, charset, count):
    pool = by_use(charset)
    return rng.choices(pool, cum_weights=common_weights(len(pool)), k=count)


@functools.lru_cache(maxsize=None)
def syllable_of():
    """Level 1 of GB2312 is in pinyin order, so runs of it stand for one syllable each."""
    level1 = hanzi_level1()
    return {code: i * len(PINYIN_SYLLABLES) // len(level1) for i, code in enumerate(level1)}


def sample_words(rng, count, charset="gb2312", lengths=(2, 2, 2, 3, 4)):
    """Words of common characters of GB2312 or Big5."""
    return [b"".join(common_chars(rng, charset, rng.choice(lengths))) for _ in range(count)]


def pinyin_of(word):
    """The pinyin of a GB2312 word from the level-1 runs; other characters get "xx"."""
    syllables = syllable_of()
    return "'".join(PINYIN_SYLLABLES[syllables[word[i:i + 2]]] if word[i:i + 2] in syllables else "xx"
                    for i in range(0, len(word), 2))


def shape_code(rng, length=4):
    return "".join(rng.choice("abcdefghijklmnopqrstuvwxy") for _ in range(length))


# ---------------------------------------------------------------------------
# Binary tables: dictionaries, code tables, indexes and the word base

BLOCK_BYTES = 64 * 1024
DISTINCT_BLOCKS = 2

PHRASE_RECORD = struct.Struct("<BB8s4sIxx")  # length, flags, characters, syllables, frequency, reserved


def phrase_records(rng, nbytes):
    """Word records sorted by first character: a few stems per character and a
    few longer words per stem, as a word dictionary holds them."""
    level1 = hanzi_level1()
    syllables = syllable_of()
    count = nbytes // PHRASE_RECORD.size + 1
    common = iter(common_chars(rng, "gb2312", count * 2 + 16))
    extra_lengths = iter(rng.choices((0, 0, 0, 1, 1, 2), k=count + 16))
    records = []
    position = rng.randrange(len(level1))
    while len(records) < count:
        position = (position + rng.randrange(1, 4)) % len(level1)
        first = level1[position]
        for _ in range(rng.randrange(1, 5)):
            stem = [first, next(common)]
            for _ in range(rng.randrange(1, 4)):
                chars = stem + [next(common) for _ in range(next(extra_lengths))]
                frequency = int(3 / (1.0 - rng.random()) ** 0.8) & 0xFFFFFFFF
                flags = 0 if rng.random() < 0.9 else 1
                records.append(PHRASE_RECORD.pack(len(chars), flags, b"".join(chars),
                                                  bytes(syllables[c] & 0xFF for c in chars), frequency))
                if len(records) >= count:
                    break
    return records[:count]


STROKE_KEYS = "hspnz"  # the five stroke classes, on the keys their names start with
STROKE_WEIGHTS = (30, 25, 20, 15, 10)
CHAR_RECORD_LAYOUT = "<2sHBBBBI8s"
LEVEL1_COUNT = 3755


def char_records_maker(code_letters):
    """Per-character records in GB2312 order: code, syllable, tone, stroke
    count, radical, flags, frequency and up to `code_letters` stroke keys of
    the character's code, zero padded to an eight-byte field."""
    layout = struct.Struct(CHAR_RECORD_LAYOUT)

    def make(rng, nbytes):
        pool = hanzi_all()
        syllables = syllable_of()
        count = nbytes // layout.size + 1
        start = rng.randrange(len(pool))
        records = []
        for i in range(count):
            index = (start + i) % len(pool)
            code = pool[index]
            syllable = syllables.get(code, rng.randrange(len(PINYIN_SYLLABLES)))
            tone = rng.choices((1, 2, 3, 4, 5), weights=(25, 25, 20, 28, 2))[0]
            strokes = min(30, max(1, int(rng.gauss(9, 3.5))))
            radical = index * 189 // len(pool) + 1  # level 2 is ordered by radical
            frequency = min(0xFFFF, int(1 / (1.0 - rng.random()) ** 1.5))
            keys = "".join(rng.choices(STROKE_KEYS, weights=STROKE_WEIGHTS, k=rng.randrange(1, code_letters + 1)))
            flags = 1 if index < LEVEL1_COUNT else 0
            records.append(layout.pack(code, syllable, tone, strokes, radical, flags, frequency, keys.encode("ascii")))
        return records
    return make


STROKE_RECORD_BYTES = 24


def stroke_records(rng, nbytes):
    """Per-character stroke sequences: code, stroke count, strokes 1-5, zero padded."""
    pool = hanzi_all()
    count = nbytes // STROKE_RECORD_BYTES + 1
    start = rng.randrange(len(pool))
    records = []
    for i in range(count):
        strokes = min(STROKE_RECORD_BYTES - 3, max(1, int(rng.gauss(9, 4))))
        sequence = bytes(rng.choices((1, 2, 3, 4, 5), weights=STROKE_WEIGHTS, k=strokes))
        record = pool[(start + i) % len(pool)] + bytes((strokes,)) + sequence
        records.append(record + b"\x00" * (STROKE_RECORD_BYTES - len(record)))
    return records


PAIR_RECORD = struct.Struct("<2s2sHBBH")  # character, related character, weight, kind, rank, reserved


def pair_records(rng, nbytes):
    """Relations from each character to a few common ones, with a weight."""
    pool = hanzi_all()
    count = nbytes // PAIR_RECORD.size + 1
    related = iter(common_chars(rng, "gb2312", count + 16))
    records = []
    position = rng.randrange(len(pool))
    while len(records) < count:
        position = (position + 1) % len(pool)
        for rank in range(rng.randrange(1, 9)):
            weight = min(0xFFFF, int(2 / (1.0 - rng.random()) ** 0.7))
            kind = 1 if rng.random() < 0.8 else 2
            records.append(PAIR_RECORD.pack(pool[position], next(related), weight, kind, rank, 0))
    return records[:count]


OFFSET_RECORD = struct.Struct("<IHHBxH")  # offset into the word base, word count, syllable, tone, flags


def offset_records(rng, nbytes):
    """An index into the word base: rising offsets, word counts and syllables."""
    count = nbytes // OFFSET_RECORD.size + 1
    offset = rng.randrange(1 << 20)
    syllable = rng.randrange(len(PINYIN_SYLLABLES))
    records = []
    for _ in range(count):
        words = rng.randrange(1, 9)
        records.append(OFFSET_RECORD.pack(offset & 0xFFFFFFFF, words, syllable, rng.randrange(1, 5), 0))
        offset += words * PHRASE_RECORD.size
        if rng.random() < 0.2:
            syllable = (syllable + 1) % len(PINYIN_SYLLABLES)
    return records


SYLLABLE_RECORD = struct.Struct("<8sHH")  # spelling, first character index, character count


def syllable_records(rng, nbytes):
    """The pinyin syllables with the run of level-1 characters each one covers."""
    level1 = hanzi_level1()
    syllables = syllable_of()
    first = {}
    for i, code in enumerate(level1):
        first.setdefault(syllables[code], i)
    records = []
    while sum(len(r) for r in records) < nbytes:
        for index, spelling in enumerate(PINYIN_SYLLABLES):
            start = first.get(index, 0)
            end = first.get(index + 1, len(level1))
            records.append(SYLLABLE_RECORD.pack(spelling.encode("ascii"), start, max(0, end - start)))
    return records


def record_table(make_records, record_bytes=0):
    """A table maker: the common header and records filled to the size."""
    def make(context, row, size, magic, rng):
        body = fill_records(rng, size - TABLE_HEADER_BYTES, make_records, BLOCK_BYTES, DISTINCT_BLOCKS)
        count = len(body) // record_bytes if record_bytes else 0
        return table_header(magic, size, record_bytes, count) + body
    return make


phrase_table = record_table(phrase_records, PHRASE_RECORD.size)
pair_table = record_table(pair_records, PAIR_RECORD.size)
stroke_table = record_table(stroke_records, STROKE_RECORD_BYTES)
offset_table = record_table(offset_records, OFFSET_RECORD.size)
syllable_table = record_table(syllable_records, SYLLABLE_RECORD.size)


def char_table(code_letters):
    return record_table(char_records_maker(code_letters), struct.calcsize(CHAR_RECORD_LAYOUT))


def order_table(context, row, size, magic, rng):
    """Every GB2312 character once, as an index in code order, the level-1
    characters first, each level in a shuffled order of use."""
    level1 = list(range(len(hanzi_level1())))
    level2 = list(range(len(level1), len(hanzi_all())))
    rng.shuffle(level1)
    rng.shuffle(level2)
    body = struct.pack("<%dH" % len(hanzi_all()), *(level1 + level2))
    return table_header(magic, TABLE_HEADER_BYTES + len(body), 2, len(hanzi_all())) + body


def code_map_table(source, target):
    """A maker of a full code conversion grid: for every cell of the source
    character set (lead byte rows of trail byte cells) the code of the target
    set, zero where the cell is empty."""
    def make(context, row, size, magic, rng):
        leads, trails, source_pool = code_grid(source)
        target_pool = hanzi_big5() if target == "big5" else hanzi_all()
        known = set(source_pool)
        cells = []
        next_target = 0
        for lead in leads:
            for trail in trails:
                if bytes((lead, trail)) in known:
                    # mostly in step, sometimes a jump, as the two orders drift apart
                    step = 1 if rng.random() < 0.85 else rng.randrange(2, 40)
                    next_target = (next_target + step) % len(target_pool)
                    cells.append(target_pool[next_target])
                else:
                    cells.append(b"\x00\x00")
        body = b"".join(cells)
        return table_header(magic, TABLE_HEADER_BYTES + len(body), 2, len(cells)) + body
    return make


def code_grid(charset):
    if charset == "gb2312":
        return range(0xA1, 0xFF), range(0xA1, 0xFF), hanzi_all()
    return range(0xA1, 0xFA), list(range(0x40, 0x7F)) + list(range(0xA1, 0xFF)), hanzi_big5()


# ---------------------------------------------------------------------------
# GB2312 text lists and documents

def text_list(kind):
    """A maker of a GB2312 list of `size` bytes: key codes with the characters or
    words they give ("codes"), or words with their pinyin ("words")."""
    def make(context, row, size, tag, rng):
        return fit_lines(text_list_lines(rng, kind), size)
    return make


def text_list_lines(rng, kind):
    yield ("; " + SAMPLE_NOTICE).encode("ascii")
    yield ("; " + SAMPLE_NOTICE_CN).encode("gb2312")
    while True:
        if kind == "codes":
            # a list of this kind is sorted by code; sort it a batch at a time
            codes = sorted(shape_code(rng, rng.randrange(2, 5)) for _ in range(200))
            for code in codes:
                chars = b" ".join(common_chars(rng, "gb2312", rng.randrange(2, 7)))
                yield code.encode("ascii") + b"\t" + chars
        else:
            word = sample_words(rng, 1)[0]
            yield word + b"\t" + pinyin_of(word).encode("ascii") + b"\t" + str(rng.randrange(1, 9999)).encode("ascii")


def chars_by_frequency(context, row, size, tag, rng):
    """All 6,763 GB2312 characters, one a line with its rank, the level-1
    characters first in a shuffled order of use."""
    level1 = list(hanzi_level1())
    level2 = list(gb2312_hanzi(2))
    rng.shuffle(level1)
    rng.shuffle(level2)
    lines = [("; " + SAMPLE_NOTICE).encode("ascii"), ("; " + SAMPLE_NOTICE_CN).encode("gb2312")]
    lines += [code + b"\t" + str(rank).encode("ascii") for rank, code in enumerate(level1 + level2, 1)]
    return b"".join(line + CRLF for line in lines)


COMMON_SENTENCES_CN = [
    "本文件是 Lumabook Writer 的示例数据，由构建工具自动生成，不是真正的产品文件。",
    "安装程序用这些示例文件代替真正的产品数据，没有产品文件也能构建和测试安装过程。",
    "输入法根据拼音或字形编码查找汉字和词语，候选字按使用频率排列。",
    "按空格键选择第一个候选字，按数字键选择其他候选字。",
    "词库中的词语可以由用户添加，也可以在输入时自动学习。",
    "键盘图显示每个按键对应的声母和韵母。",
    "如果系统不能显示中文，程序会使用自带的点阵字体显示汉字。",
    "示例词语由常用汉字随机组成，没有实际意义。",
]

COMMON_SENTENCES_B5 = [
    "本檔案是 Lumabook Writer 的示例資料，由建置工具自動產生，不是真正的產品檔案。",
    "安裝程式用這些示例檔案代替真正的產品資料，沒有產品檔案也能建置和測試安裝過程。",
    "輸入法根據拼音或字形編碼查找漢字和詞語，候選字按使用頻率排列。",
    "按空白鍵選擇第一個候選字，按數字鍵選擇其他候選字。",
    "詞庫中的詞語可以由使用者新增，也可以在輸入時自動學習。",
    "鍵盤圖顯示每個按鍵對應的聲母和韻母。",
    "如果系統不能顯示中文，程式會使用內建的點陣字型顯示漢字。",
    "示例詞語由常用漢字隨機組成，沒有實際意義。",
]

COMMON_SENTENCES_EN = [
    "This file is sample data of Lumabook Writer, generated by a build tool; it is not the real product file.",
    "The setup program carries these sample files in place of the product data, so that the installation "
    "can be built and tested without the product files.",
    "The input method finds characters and words from their pinyin or shape codes and lists the candidates "
    "by how often they are used.",
    "Press Space to take the first candidate, or a digit key to take another one.",
    "Words can be added to the word base by the user, and the input method also learns them while you type.",
    "The keyboard maps show the initials and finals that each key stands for.",
    "When the system cannot show Chinese, the program draws the characters from its own bitmap font.",
    "The sample words are made of common characters picked at random and mean nothing.",
]

DOCUMENT_TITLES = {
    114: ("Lumabook Writer 使用说明（示例）", ["安装", "输入", "编辑", "词库", "字形编码", "常见问题"]),
    115: ("Lumabook Writer 背景介绍（示例）", ["汉字输入", "拼音", "字形", "词语", "键盘"]),
}


def gb_document(context, row, size, tag, rng):
    """A GB2312 text document: title, notice and numbered chapters of sentences
    and sample words."""
    title, chapters = DOCUMENT_TITLES[row.resource_id]
    lines = [title, "", SAMPLE_NOTICE_CN, SAMPLE_NOTICE, ""]
    for number, chapter in enumerate(chapters, 1):
        lines += ["%d. %s" % (number, chapter), ""]
        for _ in range(rng.randrange(4, 8)):
            lines.append("    " + "".join(rng.sample(COMMON_SENTENCES_CN, 3)))
        words = sample_words(rng, rng.randrange(60, 120))
        for start in range(0, len(words), 6):
            shown = ["%s(%s)" % (word.decode("gb2312"), pinyin_of(word)) for word in words[start:start + 6]]
            lines.append("    " + "  ".join(shown))
        lines.append("")
    return crlf_text(lines, "gb2312")


def hints_cn(context, row, size, tag, rng):
    lines = ["Lumabook Writer 使用提示（示例）", SAMPLE_NOTICE_CN, SAMPLE_NOTICE, ""]
    for number in range(1, 41):
        word = sample_words(rng, 1)[0].decode("gb2312")
        lines.append("提示%d：%s 例如输入“%s”。" % (number, rng.choice(COMMON_SENTENCES_CN[2:]), word))
    return crlf_text(lines, "gb2312")


HINTS_EN = [
    "Lumabook Writer hints (sample)",
    SAMPLE_NOTICE + ".",
    "",
    "Hint 1: Press Space to take the first candidate.",
    "Hint 2: Press a digit key to take one of the other candidates.",
    "Hint 3: Press Page Down or = to see more candidates, Page Up or - to go back.",
    "Hint 4: Type the first letters of each syllable to enter a long word quickly.",
    "Hint 5: Add a shape code after the pinyin to pick a character without looking.",
    "Hint 6: Press Ctrl+Space to switch between Chinese and English input.",
    "Hint 7: Press Shift to type one English word without leaving Chinese input.",
    "Hint 8: New words that you type often are learnt into the word base.",
    "Hint 9: The keyboard maps in the help pages show which final each key stands for.",
    "Hint 10: If Chinese does not show correctly, turn on the bitmap font in the settings.",
    "Hint 11: The editor saves files in GB2312 or Big5; choose the code in the Save dialog.",
    "Hint 12: Press F1 in any window to open the help page that belongs to it.",
    "Hint 13: The keyboard trainer shows your speed and the keys you miss most.",
    "Hint 14: These hints are sample text; the real product ships its own hints.",
    "",
]


def hints_en(context, row, size, tag, rng):
    # The hints are written to fill the size; fit_lines only keeps it exact
    # should they be edited.
    return fit_lines((line.encode("ascii") for line in HINTS_EN), size)


WORDBASE_HOWTO = [
    "Lumabook Writer - keeping your word base (sample)",
    SAMPLE_NOTICE + ".",
    "",
    "The word base holds the words you have added and the words the input method has",
    "learnt while you typed. It is kept in four files in the program folder:",
    "",
    "    wordbase.dat           the words themselves",
    "    phrases_pinyin.idx     the index by pinyin",
    "    phrases_initials.idx   the index by initials",
    "    phrases_shape.idx      the index by shape codes",
    "",
    "When you install a new version over an old one, setup asks whether the old word",
    "base should be replaced. Answer No to keep your own words. Answer Yes to start",
    "again from the word base that comes with the new version.",
    "",
    "To move your words to another computer, copy the four files while the program is",
    "not running, and put them into the program folder of the other installation.",
    "",
    "To save a copy of your words, close the program and copy the four files to a",
    "folder of your own. To go back to that copy, close the program and copy them back.",
    "",
    "The files are written by the program only; do not edit them with a text editor.",
    "If the program reports that the word base is damaged, close it and put back your",
    "last copy of the four files, or install again and answer Yes to take the word",
    "base that comes with the product.",
    "",
    "This guide is sample text; the real product ships its own guide.",
    "",
]


def wordbase_howto(context, row, size, tag, rng):
    return crlf_text(WORDBASE_HOWTO, "ascii")


# ---------------------------------------------------------------------------
# Settings

UI_STRINGS = [
    # key, simplified Chinese, English
    ("AppTitle", "Lumabook Writer 中文写作", "Lumabook Writer"),
    ("SampleNotice", SAMPLE_NOTICE_CN, SAMPLE_NOTICE),
    ("SampleNoticeEn", SAMPLE_NOTICE, SAMPLE_NOTICE),
    ("MenuFile", "文件(&F)", "&File"),
    ("MenuFileNew", "新建(&N)", "&New"),
    ("MenuFileOpen", "打开(&O)...", "&Open..."),
    ("MenuFileSave", "保存(&S)", "&Save"),
    ("MenuFileSaveAs", "另存为(&A)...", "Save &As..."),
    ("MenuFilePrint", "打印(&P)...", "&Print..."),
    ("MenuFileExit", "退出(&X)", "E&xit"),
    ("MenuEdit", "编辑(&E)", "&Edit"),
    ("MenuEditUndo", "撤消(&U)", "&Undo"),
    ("MenuEditCut", "剪切(&T)", "Cu&t"),
    ("MenuEditCopy", "复制(&C)", "&Copy"),
    ("MenuEditPaste", "粘贴(&P)", "&Paste"),
    ("MenuEditFind", "查找(&F)...", "&Find..."),
    ("MenuEditReplace", "替换(&R)...", "&Replace..."),
    ("MenuEditSelectAll", "全选(&A)", "Select &All"),
    ("MenuInput", "输入(&I)", "&Input"),
    ("MenuInputPinyin", "拼音输入", "Pinyin input"),
    ("MenuInputDouble", "双拼输入", "Double pinyin input"),
    ("MenuInputShape", "字形输入", "Shape code input"),
    ("MenuInputEnglish", "英文输入", "English input"),
    ("MenuTools", "工具(&T)", "&Tools"),
    ("MenuToolsWords", "词库管理...", "Word base..."),
    ("MenuToolsCharInfo", "汉字信息...", "Character information..."),
    ("MenuToolsIdiom", "查找成语...", "Find an idiom..."),
    ("MenuToolsTrainer", "键盘练习", "Keyboard trainer"),
    ("MenuToolsOptions", "选项(&O)...", "&Options..."),
    ("MenuHelp", "帮助(&H)", "&Help"),
    ("MenuHelpTopics", "帮助主题", "Help topics"),
    ("MenuHelpQuickStart", "快速入门", "Quick start"),
    ("MenuHelpHotkeys", "快捷键", "Hot keys"),
    ("MenuHelpAbout", "关于 Lumabook Writer", "About Lumabook Writer"),
    ("ButtonOK", "确定", "OK"),
    ("ButtonCancel", "取消", "Cancel"),
    ("ButtonYes", "是", "Yes"),
    ("ButtonNo", "否", "No"),
    ("ButtonApply", "应用", "Apply"),
    ("ButtonClose", "关闭", "Close"),
    ("StatusReady", "就绪", "Ready"),
    ("StatusChinese", "中文", "Chinese"),
    ("StatusEnglish", "英文", "English"),
    ("StatusLine", "行 %d", "Line %d"),
    ("StatusColumn", "列 %d", "Col %d"),
    ("CandidateTitle", "候选字", "Candidates"),
    ("CandidateMore", "更多...", "More..."),
    ("AskSave", "文件已修改，是否保存?", "The file has changed. Save it?"),
    ("FileNotFound", "找不到文件。", "The file cannot be found."),
    ("FileReadOnly", "文件是只读的，不能保存。", "The file is read-only and cannot be saved."),
    ("WordAdded", "新词已加入词库。", "The new word has been added to the word base."),
    ("WordExists", "词库中已有这个词。", "The word base already holds this word."),
    ("WordBaseFull", "词库已满。", "The word base is full."),
    ("NoFontWarning", "系统不能显示中文，已改用点阵字体。", "The system cannot show Chinese; the bitmap font is used."),
    ("OptionsTitle", "选项", "Options"),
    ("OptionsFont", "字体", "Font"),
    ("OptionsColours", "颜色", "Colours"),
    ("OptionsKeyboard", "键盘", "Keyboard"),
    ("OptionsLanguage", "界面语言", "Interface language"),
    ("LanguageEnglish", "英文", "English"),
    ("LanguageSimplified", "简体中文", "Simplified Chinese"),
    ("LanguageTraditional", "繁体中文", "Traditional Chinese"),
]

SETTINGS_SECTIONS = [
    ("Window", [("Left", "80"), ("Top", "60"), ("Width", "640"), ("Height", "480"), ("Maximized", "0")]),
    ("Editor", [("TabWidth", "4"), ("WordWrap", "1"), ("SaveCode", "GB2312"), ("AutoSaveMinutes", "10")]),
    ("Candidate", [("PageSize", "9"), ("ShowPinyin", "1"), ("ShowCode", "0"), ("LearnWords", "1")]),
]


def settings_file(context, row, size, language, rng):
    """The product's settings in GB2312 with CR LF: the interface strings first,
    a few plain sections, and last the "[Config]" section with only the font
    switch, which the setup program edits in place after the install."""
    column = 1 if language == "cn" else 2
    lines = ["[UI_STR]"]
    lines += ["%s=%s" % (entry[0], entry[column]) for entry in UI_STRINGS]
    sentences = COMMON_SENTENCES_CN if language == "cn" else COMMON_SENTENCES_EN
    lines += ["Tip%02d=%s" % (number, sentence) for number, sentence in enumerate(sentences, 1)]
    lines.append("")
    for section, keys in SETTINGS_SECTIONS:
        lines.append("[%s]" % section)
        lines += ["%s=%s" % key for key in keys]
        lines.append("")
    lines += ["[Config]", "UseBmpFont=0", ""]
    return crlf_text(lines, "gb2312")


# ---------------------------------------------------------------------------
# Pictures

BLACK, WHITE = 0, 1
KEY_ROWS = ["1234567890", "QWERTYUIOP", "ASDFGHJKL;", "ZXCVBNM,./"]

KEYBOARD_TITLES = {
    116: "KEYBOARD LAYOUT",
    136: "PINYIN KEYS",
    138: "PINYIN KEYS - STANDARD",
    140: "DOUBLE PINYIN",
    141: "DOUBLE PINYIN - STANDARD",
    149: "DOUBLE PINYIN - SCHEME 1",
    151: "DOUBLE PINYIN - STANDARD 1",
    150: "DOUBLE PINYIN - SCHEME 2",
    152: "DOUBLE PINYIN - STANDARD 2",
}


def keyboard_map(context, row, size, tag, rng):
    """A monochrome keyboard grid with the key letters and, on the pinyin maps,
    the finals each key stands for."""
    key = 48 if "STANDARD" in KEYBOARD_TITLES[row.resource_id] else 40
    gap = 4
    margin = 12
    width = margin * 2 + len(KEY_ROWS[0]) * (key + gap) + key // 2 * 3
    height = 58 + len(KEY_ROWS) * (key + gap) + 24
    canvas = Canvas(width, height, [(0, 0, 0), (255, 255, 255)], WHITE)
    canvas.frame(0, 0, width, height, BLACK, 2)
    canvas.text(margin, 10, KEYBOARD_TITLES[row.resource_id], BLACK, 2)
    canvas.text(margin, 34, SAMPLE_NOTICE, BLACK)
    with_finals = row.resource_id != 116
    for r, keys in enumerate(KEY_ROWS):
        top = 52 + r * (key + gap)
        for c, label in enumerate(keys):
            left = margin + r * key // 2 + c * (key + gap)
            canvas.frame(left, top, left + key, top + key, BLACK, 1 + (r == 0))
            canvas.text(left + 4, top + 4, label, BLACK, 2)
            if with_finals and label.isalpha():
                for line, final in enumerate(rng.sample(PINYIN_FINALS, 2)):
                    canvas.text(left + 4, top + key - 18 + line * 8, final, BLACK)
    canvas.text(margin, height - 16, row.target_name, BLACK)
    return bmp(canvas, 1)


def keypad_picture(context, row, size, bits, rng):
    """A numeric keypad with the stroke each digit types, on a shaded ground."""
    palette = gradient_palette((40, 70, 140), (170, 200, 240), 200)
    palette += [(255, 255, 255), (20, 20, 20), (250, 220, 120), (200, 60, 40)] + [(0, 0, 0)] * 52
    white, dark, gold, red = 200, 201, 202, 203
    width, height = 320, 400
    canvas = Canvas(width, height, palette)
    for y in range(height):
        canvas.fill(0, y, width, y + 1, y * 200 // height)
    canvas.text(16, 12, "KEYPAD METHOD", white, 2)
    canvas.text(16, 34, "SAMPLE DATA - NOT THE REAL", gold)
    canvas.text(16, 44, "PRODUCT FILE", gold)
    strokes = ["H", "S", "P", "N", "Z", "HS", "SP", "PN", "NZ", "*", "0", "#"]
    for i, label in enumerate("123456789*0#"):
        left = 24 + (i % 3) * 96
        top = 70 + (i // 3) * 80
        canvas.fill(left, top, left + 80, top + 66, white)
        canvas.frame(left, top, left + 80, top + 66, dark, 2)
        canvas.text(left + 8, top + 8, label, red if label in "*#" else dark, 4)
        canvas.text(left + 44, top + 44, strokes[i], dark, 2 if len(strokes[i]) == 1 else 1)
    return bmp(canvas, bits)


def welcome_picture(context, row, size, tag, rng):
    palette = gradient_palette((250, 250, 255), (90, 120, 200), 240) + [(20, 30, 80), (200, 40, 40)]
    title, warning = 240, 241
    width, height = 480, 320
    canvas = Canvas(width, height, palette)
    for y in range(height):
        canvas.fill(0, y, width, y + 1, y * 240 // height)
    canvas.text((width - text_width("LUMABOOK WRITER", 4)) // 2, 70, "LUMABOOK WRITER", title, 4)
    for i, line in enumerate(("SAMPLE DATA -", "NOT THE REAL PRODUCT FILE")):
        canvas.text((width - text_width(line, 2)) // 2, 170 + i * 24, line, warning, 2)
    canvas.frame(8, 8, width - 8, height - 8, title, 3)
    return bmp(canvas, 24)


HELP_PICTURE_PALETTE = [(255, 255, 255), (0, 0, 0), (212, 208, 200), (10, 36, 106), (128, 128, 128),
                        (255, 255, 225), (200, 0, 0), (60, 60, 60)]


def help_picture(context, row, size, tag, rng):
    """A mock screen shot for a help page: a window with its caption, a menu bar,
    lines of mixed Chinese and Latin text and a candidate box."""
    back, ink, face, caption, grey, tip, red, text_ink = range(8)
    width = rng.randrange(36, 65) * 10
    height = rng.randrange(24, 43) * 10
    canvas = Canvas(width, height, HELP_PICTURE_PALETTE, face)
    canvas.frame(0, 0, width, height, ink)
    canvas.fill(3, 3, width - 3, 22, caption)
    canvas.text(8, 9, os.path.splitext(row.target_name)[0], back)
    for i, word in enumerate(("FILE", "EDIT", "INPUT", "TOOLS", "HELP")):
        canvas.text(8 + i * 48, 28, word, ink)
    canvas.fill(6, 40, width - 6, height - 30, back)
    canvas.frame(6, 40, width - 6, height - 30, grey)
    hanzi = [pseudo_hanzi(rng, text_ink, back) for _ in range(160)]
    letters = {ch: glyph_rows(ch, text_ink, back) for ch in "abcdefghijklmnopqrstuvwxyz0123456789"}
    for y in range(48, height - 48, rng.choice((16, 18))):
        x = 14
        end = width - rng.randrange(20, 120)
        while x < end - 12:
            if rng.random() < 0.8:
                canvas.stamp(x, y, rng.choice(hanzi))
                x += 13
            else:
                for ch in shape_code(rng, rng.randrange(2, 7)):
                    canvas.stamp(x, y + 3, letters[ch])
                    x += 6
                x += 4
    box_left = rng.randrange(20, max(21, width - 220))
    box_top = rng.randrange(60, max(61, height - 90))
    canvas.fill(box_left, box_top, box_left + 200, box_top + 34, tip)
    canvas.frame(box_left, box_top, box_left + 200, box_top + 34, ink)
    canvas.text(box_left + 6, box_top + 6, shape_code(rng).upper(), red)
    for i in range(9):
        canvas.text(box_left + 6 + i * 21, box_top + 20, str(i + 1), ink)
        canvas.stamp(box_left + 13 + i * 21, box_top + 18, [bytes(line).replace(bytes([back]), bytes([tip]))
                                                           for line in rng.choice(hanzi)])
    canvas.text(8, height - 22, "SAMPLE PICTURE - NOT THE REAL PRODUCT FILE", red)
    return png(canvas)


# ---------------------------------------------------------------------------
# Help pages and compiled help

HELP_PAGE_TITLES = {
    175: "Zenpo 产品系列帮助", 176: "输入法引擎", 177: "编辑器介绍", 178: "快速入门", 179: "输入示例",
    174: "输入辅助功能", 180: "初次使用", 181: "拼音加字形输入", 182: "字形编码", 183: "字形编码口诀",
    184: "快捷键",
    194: "Zenpo Product Family Help", 195: "The Input Engine", 196: "The Editor", 197: "Quick Start",
    198: "Typing Examples", 193: "Typing Aids", 199: "A First Look", 200: "Pinyin with Shape Codes",
    201: "Hot Keys",
    294: "Zenpo 產品系列說明", 295: "輸入法引擎", 296: "編輯器介紹", 297: "快速入門", 298: "輸入範例",
    293: "輸入輔助功能", 299: "初次使用", 300: "拼音加字形輸入", 301: "快捷鍵",
}

HELP_SETS = {
    # language: charset declared (None: none), encoding, sentences, notice, table heading
    "gb2312": ("gb2312", "gb2312", COMMON_SENTENCES_CN, SAMPLE_NOTICE_CN, ("词语", "拼音", "编码"), "目录"),
    "big5": ("big5", "big5", COMMON_SENTENCES_B5, SAMPLE_NOTICE_B5, ("詞語", "拼音", "編碼"), "目錄"),
    "en": (None, "ascii", COMMON_SENTENCES_EN, SAMPLE_NOTICE, ("Word", "Pinyin", "Code"), "Contents"),
}

HELP_PICTURES = ["CharInfo.PNG", "PartsToChars.PNG", "FindIdiom.PNG", "demo_manual.PNG", "demo_word1.PNG",
                 "demo_predict.PNG", "demo_caret.PNG", "DEMO1.PNG", "demo_tone3.PNG", "demo_word5.PNG",
                 "demo_manual3.PNG"]


def help_set_of(resource_id):
    if 174 <= resource_id <= 184:
        return "gb2312"
    if 193 <= resource_id <= 201:
        return "en"
    return "big5"


def help_page(context, row, size, tag, rng):
    """One HTML help page of its language set, with the set's contents, some
    text, a table of sample words and a picture."""
    language = help_set_of(row.resource_id)
    charset, encoding, sentences, notice, heading, contents = HELP_SETS[language]
    pages = [r for r in context.rows if r.resource_id in HELP_PAGE_TITLES and help_set_of(r.resource_id) == language]
    title = HELP_PAGE_TITLES[row.resource_id]
    lines = ["<html>", "<head>"]
    if charset:
        lines.append('<meta http-equiv="Content-Type" content="text/html; charset=%s">' % charset)
    lines += ["<title>%s</title>" % title, "</head>", '<body bgcolor="#FFFFFF">',
              '<p><font color="#C00000"><b>%s</b></font></p>' % notice]
    if language != "en":
        lines.append('<p><font color="#C00000">%s</font></p>' % SAMPLE_NOTICE)
    lines += ["<h1>%s</h1>" % title, "<p>%s:" % contents]
    lines += ['<a href="%s">%s</a>' % (p.target_name, HELP_PAGE_TITLES[p.resource_id]) for p in pages]
    lines.append("</p>")
    for _ in range(rng.randrange(3, 7)):
        lines.append("<p>%s</p>" % " ".join(rng.sample(sentences, 3)))
    lines.append('<p><img src="%s" alt="%s"></p>' % (HELP_PICTURES[pages.index(row) % len(HELP_PICTURES)], title))
    lines += ['<table border="1" cellpadding="2">', "<tr><th>%s</th><th>%s</th><th>%s</th></tr>" % heading]
    for word in sample_words(rng, rng.randrange(40, 240), "big5" if language == "big5" else "gb2312"):
        shown = word.decode(encoding if language != "en" else "gb2312")
        if language == "en":
            shown = "&#%s;" % ";&#".join(str(ord(ch)) for ch in shown)
        if language == "big5":  # Big5 has no pinyin order to read the syllables from
            pinyin = "'".join(rng.choice(PINYIN_SYLLABLES) for _ in range(len(word) // 2))
        else:
            pinyin = pinyin_of(word)
        lines.append("<tr><td>%s</td><td>%s</td><td>%s</td></tr>" % (shown, pinyin, shape_code(rng)))
    lines += ["</table>", "<hr>", "<p><small>%s</small></p>" % SAMPLE_NOTICE, "</body>", "</html>"]
    return crlf_text(lines, encoding)


def compiled_help(context, row, size, tag, rng):
    """The compiled help carries the English help pages and their pictures."""
    entries = [(r.target_name, context.files[r.target_name]) for r in context.rows
               if help_set_of(r.resource_id) == "en" and r.resource_id in HELP_PAGE_TITLES]
    entries += [(name, context.files[name]) for name in HELP_PICTURES]
    return chm(entries, size)


# ---------------------------------------------------------------------------
# Copies of the inputs

def copied_input(context, row, size, tag, rng):
    return context.inputs[row.resource_id]


# ---------------------------------------------------------------------------
# The plan: how each payload entry is made. Sizes are exact; None lets the
# content decide. Rows are made in this order, so the compiled help finds the
# help pages and pictures it carries, and the balance table comes last.

SAMPLE_FILES = [
    # dictionaries, code tables and indexes
    (106, syllable_table, 5_320, b"LBSY"),
    (131, char_table(4), 108_272, b"LBCL"),
    (143, pair_table, 43_008, b"LBIN"),
    (111, order_table, None, b"LBCO"),
    (153, phrase_table, 2_621_440, b"LBDR"),
    (123, phrase_table, 34_731_791, b"LBW2"),
    (118, text_list("codes"), 96_256, None),
    (137, char_table(4), 487_424, b"LBCC"),
    (130, char_table(6), 262_144, b"LBCP"),
    (191, char_table(6), 131_072, b"LBP1"),
    (192, char_table(6), 98_304, b"LBP2"),
    (132, stroke_table, 356_352, b"LBST"),
    (144, text_list("words"), 61_440, None),
    (162, code_map_table("gb2312", "big5"), None, b"LBGB"),
    (189, code_map_table("big5", "gb2312"), None, b"LBB5"),
    (241, pair_table, 1_835_008, b"LBR1"),
    (240, pair_table, 1_409_024, b"LBR2"),
    (248, char_table(3), 196_608, b"LBKP"),
    (249, stroke_table, 311_296, b"LBKS"),
    (250, phrase_table, 917_504, b"LBKC"),
    (251, stroke_table, 753_664, b"LBCB"),
    (252, pair_table, 1_130_496, b"LBCM"),
    # the user word base; the pinyin index must start with 0x80
    (127, phrase_table, 6_291_456, b"LBWB"),
    (126, offset_table, 786_432, b"LBXS"),
    (128, offset_table, 1_048_576, b"\x80PYX"),
    (129, offset_table, 655_360, b"LBXI"),
    (254, chars_by_frequency, None, None),
    # copies
    (110, copied_input, None, None),
    (124, copied_input, None, None),
    (161, copied_input, None, None),
    (109, copied_input, None, None),
    (171, copied_input, None, None),
    (139, copied_input, None, None),
    (253, copied_input, None, None),
    # pictures
    (116, keyboard_map, None, None),
    (136, keyboard_map, None, None),
    (138, keyboard_map, None, None),
    (140, keyboard_map, None, None),
    (141, keyboard_map, None, None),
    (149, keyboard_map, None, None),
    (151, keyboard_map, None, None),
    (150, keyboard_map, None, None),
    (152, keyboard_map, None, None),
    (255, keypad_picture, None, 8),
    (256, keypad_picture, None, 24),
    (190, welcome_picture, None, None),
] + [(rid, help_picture, None, None) for rid in [205, 206, 207, 208] + list(range(210, 228))] + [
    (rid, help_page, None, None) for rid in sorted(HELP_PAGE_TITLES)] + [
    # after the help pages and pictures it carries
    (259, compiled_help, 1_310_720, None),
    # settings and documents
    (120, settings_file, None, "cn"),
    (122, settings_file, None, "en"),
    (114, gb_document, None, None),
    (115, gb_document, None, None),
    (203, hints_cn, None, None),
    (204, hints_en, 1_150, None),
    (165, wordbase_howto, None, None),
    # the balance table last
    (BALANCE_ID, phrase_table, None, b"LBPD"),
]


class SampleContext:
    def __init__(self, rows, inputs):
        self.rows = rows
        self.inputs = inputs  # resource id -> bytes of the copied input
        self.files = {}       # target name -> bytes made so far


def make_sample_files(rows, inputs):
    """Makes the content of every row; returns {target name: bytes}."""
    by_id = {row.resource_id: row for row in rows}
    planned = [entry[0] for entry in SAMPLE_FILES]
    if sorted(planned) != sorted(by_id):
        missing = sorted(set(by_id) - set(planned))
        extra = sorted(set(planned) - set(by_id))
        raise ValueError("the sample plan does not match the file table (not planned: %s; not in the table: %s)"
                         % (missing, extra))
    context = SampleContext(rows, inputs)
    for resource_id, maker, size, tag in SAMPLE_FILES:
        row = by_id[resource_id]
        if resource_id == BALANCE_ID:
            copied = {by_id[number].target_name for number in inputs}
            generated = sum(len(data) for name, data in context.files.items() if name not in copied)
            size = GENERATED_TOTAL_BYTES - generated
            if size < TABLE_HEADER_BYTES:
                raise ValueError("the generated files exceed %d bytes" % GENERATED_TOTAL_BYTES)
        data = maker(context, row, size, tag, random.Random(SEED_BASE + resource_id))
        if size is not None and len(data) != size:
            raise AssertionError("%s came out as %d bytes, planned %d" % (row.target_name, len(data), size))
        context.files[row.target_name] = data
    return context.files


# ---------------------------------------------------------------------------
# Inputs and output

def read_input(path, what):
    try:
        with open(path, "rb") as source:
            return source.read()
    except OSError as error:
        raise InputError("%s %s cannot be read: %s" % (what, path, error.strerror or error))


def read_inputs(arguments):
    """Reads the files copied into the payload; returns {resource id: bytes}."""
    inputs = {}
    glyphs = read_input(arguments.glyphs, "glyph sheets file")
    if len(glyphs) != GLYPH_SHEETS_BYTES:
        raise InputError("glyph sheets file %s has %d bytes; four 512 x 944 monochrome sheets have %d"
                         % (arguments.glyphs, len(glyphs), GLYPH_SHEETS_BYTES))
    inputs[GLYPHS_ID] = glyphs
    for resource_id, path, what in ((LICENCE_CN_ID, arguments.licence_cn, "Chinese licence"),
                                    (LICENCE_EN_ID, arguments.licence_en, "English licence")):
        data = read_input(path, what)
        if not data:
            raise InputError("%s %s is empty" % (what, path))
        inputs[resource_id] = data
    programs = {}
    for given in arguments.program:
        number, separator, path = given.partition("=")
        if not separator or not number.isdigit() or not path:
            raise InputError("--program %s: expected ID=PATH, for example 109=Lumabook.exe" % given)
        number = int(number)
        if number not in PROGRAM_IDS:
            raise InputError("--program %s: %d is not a program entry (%s)"
                             % (given, number, ", ".join(map(str, PROGRAM_IDS))))
        if number in programs:
            raise InputError("--program %s: entry %d is given twice" % (given, number))
        data = read_input(path, "program")
        if data[:2] != b"MZ":
            raise InputError("program %s is not a Windows executable (no MZ signature)" % path)
        programs[number] = data
    missing = [str(number) for number in PROGRAM_IDS if number not in programs]
    if missing:
        raise InputError("no --program given for entry %s" % ", ".join(missing))
    inputs.update(programs)
    return inputs


def write_files(out_dir, rows, files):
    os.makedirs(out_dir, exist_ok=True)
    for row in rows:
        path = os.path.join(out_dir, row.target_name)
        if os.path.exists(path):
            os.chmod(path, 0o644)  # a read-only copy from an earlier run must not stop the rewrite
        with open(path, "wb") as target:
            target.write(files[row.target_name])


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        description="Writes the 106 payload files of the install file table into DIR as a sample product: "
                    "generated dictionaries, pictures, help pages, settings and documents, with the glyph "
                    "sheets, the licence texts and the four programs copied from the given files. The output "
                    "is the same byte for byte on every run.")
    parser.add_argument("--out", required=True, metavar="DIR",
                        help="folder to write the payload files into (created when missing)")
    parser.add_argument("--glyphs", required=True, metavar="FILE",
                        help="glyph sheets, four 512 x 944 monochrome bitmaps without headers (%d bytes); "
                             "copied as entry 110" % GLYPH_SHEETS_BYTES)
    parser.add_argument("--licence-cn", required=True, metavar="FILE",
                        help="Chinese licence agreement in GB2312; copied as entry 124")
    parser.add_argument("--licence-en", required=True, metavar="FILE",
                        help="English licence agreement; copied as entry 161")
    parser.add_argument("--program", action="append", default=[], metavar="ID=PATH",
                        help="a Windows program copied as entry ID; give all four: 109 (main program), "
                             "171 (uninstaller), 139 (keyboard trainer), 253 (keypad demonstration)")
    parser.add_argument("--file-table", default=file_table.TABLE_SOURCE, metavar="FILE",
                        help="the install file table source to read the rows from (default: %(default)s)")
    return parser.parse_args(argv)


def main(argv=None):
    arguments = parse_arguments(argv)
    prog = os.path.basename(sys.argv[0])
    try:
        rows = file_table.read_file_table(arguments.file_table)
    except OSError as error:
        print("%s: file table %s cannot be read: %s" % (prog, arguments.file_table, error.strerror), file=sys.stderr)
        return 1
    except file_table.FileTableError as error:
        print("%s: %s" % (prog, error), file=sys.stderr)
        return 1
    try:
        inputs = read_inputs(arguments)
    except InputError as error:
        print("%s: %s" % (prog, error), file=sys.stderr)
        return 1
    try:
        files = make_sample_files(rows, inputs)
    except ValueError as error:
        print("%s: %s: %s" % (prog, arguments.file_table, error), file=sys.stderr)
        return 1
    try:
        write_files(arguments.out, rows, files)
    except OSError as error:
        print("%s: cannot write into %s: %s" % (prog, arguments.out, error), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
