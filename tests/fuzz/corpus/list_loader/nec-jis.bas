10 PRINT "K4A;zH"
20 PRINT "K-!-"H";LEN("K-!H")
30 PRINT "1987ò 4ó"
