10 REM Nested loops of double-precision arithmetic
20 S#=0
30 FOR I=1 TO 400
40 FOR J=1 TO 500
50 S#=S#+I*1.5#/(J+1)-J/3#
60 NEXT J
70 NEXT I
80 PRINT S#
