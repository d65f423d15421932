# cmake -DCLI=path/to/zelkora-cli -DDST=path/to/settings -P MakeDefaultTables.cmake
# Writes the tables that ship in settings/ with the program's own generator. The file names
# put the Windows-31J table first in the catalogue, so it is the one used when setting.ini
# names none. The Windows-31J and EUC-JP tables are stored in UTF-8: they list the JIS forms
# (〜, −...) beside the Microsoft forms, and neither charset can store both.
cmake_minimum_required(VERSION 3.25)
if(NOT CLI OR NOT DST)
  message(FATAL_ERROR "usage: cmake -DCLI=zelkora-cli -DDST=settings-folder -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

function(make_table file)
  execute_process(COMMAND ${CLI} make-table ${ARGN}
                  OUTPUT_FILE ${DST}/${file}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "make-table failed for ${file}")
  endif()
  execute_process(COMMAND ${CLI} check-table ${DST}/${file}
                  OUTPUT_VARIABLE report
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "check-table finds problems in ${file}:\n${report}")
  endif()
endfunction()

make_table("CP932 Windows-31J.txt" --charset windows-31j --encoding UTF8 --alternatives
  --title "CP932（Windows-31J）: Shift_JIS に NEC・IBM の拡張文字を加えた文字コードの表")
make_table("EUC-JP.txt" --charset EUC-JP --encoding UTF8 --alternatives
  --title "EUC-JP: JIS X 0208 の文字と半角カタカナ（8E で始まる 2 バイト）の表。3 バイトのコードは入っていません")
make_table("JIS X 0201.txt" --charset windows-31j --range 00-FF --encoding SJIS
  --title "JIS X 0201: ASCII と半角カタカナ（1 バイトのコード）の表")
# From UTF-16LE: in file order its codes are the code units' values, as before.
make_table("UTF-16.txt" --charset UTF-16LE --private-use --encoding UNICODE
  --title "UTF-16: 基本多言語面の文字の表。コードは UTF-16 のコード単位の値（4 桁）です")
