10 DIM A(10),B$(2,3)
20 FOR I=0 TO 10:A(I)=I*I:NEXT
30 PRINT A(10);A(3)
40 B$(2,3)="corner":B$(0,0)="origin"
50 PRINT B$(0,0);" ";B$(2,3)
60 C(5)=7:PRINT C(5);C(10)
