10 REM Printed lines that scroll the screen
20 FOR I=1 TO 100000
30 PRINT "Line";I;"of the printing benchmark"
40 NEXT I
