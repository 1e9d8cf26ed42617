# Skin package reader and writer (portable); the Windows message box for the
# reader's version message.
tw_library(tw_skinread PORTABLE SOURCES SkinRead.cpp LIBS tw_lzh)
tw_library(tw_skinread_win SOURCES SkinReadMessage.cpp LIBS tw_skinread user32)
